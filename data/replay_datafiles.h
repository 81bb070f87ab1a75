// The datafiles the stored games of the tests are played on. They are
// the stand-ins of data_files.h (made by code, not by the game's art) with
// formations of both kinds of each group, so that a recording's figures
// change only when the code does.
#pragma once

#include "data/stand_in_datafiles.h"

// A scratch folder holding the eight files, named by SWARMFIRE_DATA while
// the object lives.
class ReplayData {
 public:
  ReplayData();
  ~ReplayData();

 private:
  ScratchFolder folder_;
};
