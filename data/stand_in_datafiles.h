// Stand-in datafiles for tests and the fuzzer's seeds: a scratch folder, and
// datafiles that meet the catalogue with small stand-in objects, so that a
// test can break one position at a time.
#pragma once

#include "data/dat_writer.h"

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

// A fresh folder in the system's temporary folder (/tmp), removed with everything in it at destruction.
struct ScratchFolder {
  std::string path;
  ScratchFolder();
  ~ScratchFolder();
  std::string file(const std::string &name) const { return path + "/" + name; }
};

// A datafile of this catalogue name that passes the start-up check; object
// positions for which `replace` returns true are made by it instead.
std::vector<uint8_t> stand_in_datafile(const std::string &name,
                                       std::function<bool(DatafileBuilder &, int n)> replace = nullptr);

// A layout picture with `count` enemies of `kind`, spaced apart.
Bitmap8 layout_with(int kind, int count);
