// The recording file: a header, then the inputs the game received at the
// platform seam as records in the order it asked for them, and at a clean
// exit a trailer. platform/recording/recording_format.txt describes the bytes.
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

#include "platform/shared/fnv1a.h"
#include "platform/waits.h"

#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

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

// --- Writing ---------------------------------------------------------------

// Empty when a recording may take the place of the file `path`: there is
// none, or an empty file, or a recording. Else why it is left alone (not a
// regular file, not a recording, cannot be read).
std::string replace_problem(const std::string &path);

struct FileClose {
  void operator()(std::FILE *file) const { std::fclose(file); }
};

struct Writer {
  std::unique_ptr<std::FILE, FileClose> file;
  std::string path;       // the recording's name
  std::string part;       // the file it grows in until it is whole
  uint8_t buffer[1 << 14];
  size_t used = 0;
  uint64_t checksum = 0;  // of every byte written so far
  SegmentEnd previous;    // the last segment end written or repeated
  int pending_repeats = 0;
  std::string problem;    // the first write that failed
};

// Starts a recording that will take the place of the file `path` once it
// is closed whole: refused when a file of that name exists and is not a
// regular file holding a recording (or nothing); the bytes go into a file
// of their own beside it (path.PID.part). Writes the header; empty, or why
// not.
std::string open_writer(Writer &w, const std::string &path, const Header &header);
// A yes-or-no answer turned over at the call `delta` calls after the
// previous record of the segment (or its start).
void write_change(Writer &w, uint32_t delta, int question);
void write_readkey(Writer &w, uint32_t delta, int value);
// The end of a segment; `changes` says whether it wrote any record.
void write_end(Writer &w, const SegmentEnd &end, bool changes);
// Everything written so far into the file, for a crash to leave behind.
void flush_writer(Writer &w);
// The trailer (when given) after the last records; then the file closes
// and, written whole and to be kept, takes the place of `path`; else it is
// removed and `path` stays as it was. Empty, or the first write that failed.
std::string close_writer(Writer &w, const Trailer *trailer, bool keep = true);

// --- Reading ---------------------------------------------------------------

struct Record {
  enum Type { Change, ReadKey, End, AtTrailer, CutShort, Damaged } type = CutShort;
  uint32_t at = 0;  // the call of the segment it stands at
  int question = 0;
  int value = 0;    // a key taken from the buffer
  SegmentEnd end;
};

struct Reader {
  std::vector<uint8_t> bytes;
  size_t at = 0;          // the next byte of the records
  size_t records_end = 0; // where the trailer starts, or the file's end
  bool has_trailer = false;
  Trailer trailer;
  SegmentEnd previous;
  int repeats_left = 0;
  uint32_t segment_at = 0;  // the call of the segment's last record
  bool segment_records = false;
  bool closed = false;      // the last end was the close button
  uint64_t ticks = 0;       // fired by the segments read so far
  std::string damage;       // why the bytes at `at` are no record
};

// Reads the whole file and its header; empty, or why it cannot be replayed
// (cannot be read, not a regular file, not a recording, another format
// version, damaged). A FIFO or a device is refused, never waited on.
std::string open_reader(Reader &r, const std::string &path, Header &header);
// The same from bytes in memory.
std::string read_recording(Reader &r, std::vector<uint8_t> bytes, Header &header);
// The next record: the records in turn, then the trailer or the end of a
// file cut short; Damaged (with r.damage) at bytes that are no record.
Record next_record(Reader &r);


}  // namespace recording
