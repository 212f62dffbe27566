#pragma once

#include "raster.h"

#include <cstdint>

namespace assetgen {

// Draws tile number 1 to 15 in blackletter numerals onto a 38 x 38 tile:
// thick stems five pixels wide, hairline joins and split feet.
void drawBlackletterNumber(Raster &tile, int number, std::uint8_t ink);

// Draws tile number 1 to 15 in the preview's blocky dot font into the 7 x 7
// dot cell whose top-left dot is (left, top).
void drawDotNumber(Raster &design, int number, int left, int top, std::uint8_t ink);

} // namespace assetgen
