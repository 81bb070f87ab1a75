// The one way the game reads a file whole: the datafiles, the recordings
// and the digest of the datafiles a recording keeps. Only a regular file,
// opened without waiting (a FIFO or a device would block, or never end),
// read to its end and no further than a cap.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// A larger file is neither a datafile nor a recording of ours (an hour of
// play records in well under 2 MiB).
constexpr size_t MOST_WHOLE_FILE_BYTES = 64 << 20;

enum class ReadFailure { None, CannotOpen, NotRegular, TooLarge, CannotRead };

struct WholeFile {
  ReadFailure failure = ReadFailure::None;
  int error = 0;  // errno, for CannotOpen and CannotRead
  std::vector<uint8_t> bytes;

  // Why it failed as a short phrase: the system's reason ("No such file or
  // directory"), "not a regular file" or "larger than 64 MiB".
  std::string why() const;
};

// The file's bytes (at most MOST_WHOLE_FILE_BYTES), or why they are not
// all there.
WholeFile read_whole_file(const std::string &path);

// Empty when the file opens for reading and is a regular file, else why
// not (as WholeFile::why).
std::string regular_file_problem(const std::string &path);
