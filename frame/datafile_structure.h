// Walks the bytes of a datafile without trusting any of them, before the
// library parses it: the magic numbers, every property and object header,
// and the sizes of bitmaps, palettes and samples. Anything the library could
// misread (a length past the end, a packed or compressed body, an object
// type with a parser of its own) or load only slowly or leakily (thousands
// of objects or properties, a property with the end-of-list id) is reported
// instead of loaded.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// Empty when load_datafile can safely read the bytes; otherwise why not, as
// a short phrase ("truncated at byte 1234, in object 12").
std::string datafile_structure_problem(const std::vector<uint8_t> &bytes);
