// Writing a recording file (recording_format.h): the header, the records
// as the input log gives them, the trailer; the file grows beside its
// target and takes its place only when it is whole.
#pragma once

#include "platform/recording/recording_format.h"

#include <cstdio>
#include <memory>
#include <string>

namespace recording {

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

}  // namespace recording
