// The eight datafiles of the game, put together from the art and sound
// sources in the order of the catalogue.
#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

using GeneratedFile = std::pair<std::string, std::vector<uint8_t>>;

// File name and bytes of each of the eight datafiles.
std::vector<GeneratedFile> build_datafiles();
