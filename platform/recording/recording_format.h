// The recording file: a header, then the inputs the game received at the
// platform seam as records in the order it asked for them, and at a clean
// exit a trailer. recording_format.txt describes the bytes; the writer
// (recording_writer.h) and the reader (recording_reader.h) share what is
// here.
//
// The inputs come in segments: the calls the game made between two waits
// that fire the logic timer, ended by that wait. A record names the call
// at its position in the segment: a key whose answer changed, a key taken
// from the buffer, the wait that ends the segment (with the ticks it fired,
// the number of calls before it and a checksum of what they asked), or the
// window's close button at the call that stopped the game. Calls that
// answered as before write nothing, and a segment like the one before
// costs a share of one byte.
#pragma once

#include "platform/waits.h"

#include <cstddef>
#include <cstdint>
#include <string>

namespace recording {

constexpr int FORMAT_VERSION = 1;

// What the game asks at the seam: a key's held state (its scancode, 1 to
// 126), or one of these. 0 stands for a scancode out of range (never held).
enum Question : uint8_t {
  Q_BAD_KEY = 0,
  Q_KEYPRESSED = 128,
  Q_FOCUS_LOST = 129,
  Q_READKEY = 130,
  Q_CLEAR_KEYBUF = 131,
  Q_FADE_IN = 132,
  Q_FADE_OUT = 133,
  Q_VSYNC = 134,
  // The other waits, as the calls they are for checksums and messages, and
  // the end of the recording as the trailer names it; never written as a
  // change.
  Q_PRESENT = 135,
  Q_YIELD = 136,
  Q_KEY_WAIT = 137,
  Q_END = 138,
  Q_DATAFILE_LOAD = 139,
};
// Questions with a yes or no answer are 0 to 129 (keys, keypressed, focus).
constexpr int YES_NO_QUESTIONS = 130;

// At most this many segments in one repeat record: a replay never runs
// more than this many waits for two bytes of its file.
constexpr int MOST_REPEATS = 64;

struct SegmentEnd {
  Wait wait = Wait::Present;
  bool close = false;
  int ticks = 0;
  uint32_t calls = 0;  // calls in the segment before this one
  uint16_t sum = 0;    // checksum of what they asked
  bool operator==(const SegmentEnd &) const = default;
};

// The running checksum of a segment's calls.
inline uint16_t add_to_sum(uint16_t sum, int question) {
  return static_cast<uint16_t>(((sum << 5) | (sum >> 11)) ^ (question * 40503u + 1));
}

struct Header {
  std::string game_version;
  uint64_t data_digest = 0;  // of the eight datafiles' bytes
  int scale = 0;             // the display asked for at the start
  bool fullscreen = false;
};

// The figures of a whole run, written at a clean exit.
struct Totals {
  uint64_t frames = 0, steps = 0;
  int32_t score = 0, level = 0;
  uint64_t world_hash = 0;
  bool operator==(const Totals &) const = default;
};

struct Trailer {
  uint32_t tail_calls = 0;  // calls after the last wait, before the exit
  uint16_t tail_sum = 0;
  Totals totals;
};

// --- The bytes ---------------------------------------------------------------

inline constexpr uint8_t MAGIC[8] = {'S', 'W', 'A', 'R', 'M', 'R', 'E', 'C'};
inline constexpr uint8_t END_MAGIC[4] = {'D', 'O', 'N', 'E'};
constexpr size_t MOST_VERSION_BYTES = 32;
// Tag, tail calls and sum, frames, steps, score, level, world hash,
// checksum, end magic.
constexpr size_t TRAILER_BYTES = 1 + 4 + 2 + 8 + 8 + 4 + 4 + 8 + 8 + 4;
constexpr size_t CHECKSUM_AT_END = 8 + 4;  // the checksum and the end magic

enum Tag : uint8_t { CHANGE = 1, READKEY = 2, END = 3, SAME = 4, REPEAT = 5, TRAILER = 6 };

}  // namespace recording
