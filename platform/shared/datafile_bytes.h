// A datafile loaded from bytes already read and checked, so that the
// library loads exactly those bytes, whatever happens to the file on the
// disk meanwhile (a package upgrade replacing it, say).
#pragma once

#include <allegro.h>

#include <cstdint>
#include <string>
#include <vector>

// The library loads datafiles by file name only: the bytes go into a file
// of the game's own that nothing else may change, which the library then
// opens. Where that file cannot be made for want of room (the file size
// limit), the library loads the file at `path` itself, and the check after
// the load holds what it got to what the game needs. Null, with `why`, when
// neither could be done; null without it when the library refused the
// bytes.
DATAFILE *load_datafile_from_bytes(const std::vector<uint8_t> &bytes, const std::string &path, std::string &why);
