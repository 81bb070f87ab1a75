// The icons as a Windows .ico file, which the Windows build compiles into
// the exe (dist/windows/swarmfire.rc): the window's icon, and the exe's in
// Explorer and the Start menu.
#pragma once

#include "dist/icon.h"

#include <string>
#include <vector>

// The bytes of an .ico holding each icon as an uncompressed 32-bit
// bitmap with its transparency mask, the form every Windows reads.
std::string ico_file(const std::vector<Icon> &icons);
