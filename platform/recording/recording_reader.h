// Reading a recording file (recording_format.h) whole, its header and
// trailer checked, then its records one at a time, each checked against
// where it stands.
#pragma once

#include "platform/recording/recording_format.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace recording {

struct Record {
  enum Type { Change, ReadKey, End, AtTrailer, CutShort, Damaged } type = CutShort;
  uint32_t at = 0;  // the call of the segment it stands at
  int question = 0;
  int value = 0;    // a key taken from the buffer
  SegmentEnd end;
};

struct Reader {
  // The file, shared by copies of the reader (a rewind's, a count's).
  std::shared_ptr<const std::vector<uint8_t>> bytes;
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
// After the first segment end of a repeat record: the rest of its
// segments, taken in one step; how many they were.
int skip_repeats(Reader &r);

}  // namespace recording
