// The one walk to an object of a loaded datafile. The library's array ends
// with a DAT_END entry and says nothing of its length, so every read of
// object n walks the entries before it and reads none past that end.
#pragma once

#include <allegro.h>

// Object n of a loaded datafile when it is there and of this type
// (DAT_BITMAP, DAT_PALETTE, DAT_SAMPLE, ...); nullptr otherwise, and for no
// datafile.
inline const DATAFILE *datafile_object(const DATAFILE *d, int n, int type) {
  if (!d || n < 0) return nullptr;
  for (int i = 0; i < n; ++i)
    if (d[i].type == DAT_END) return nullptr;
  return d[n].type == type ? &d[n] : nullptr;
}
