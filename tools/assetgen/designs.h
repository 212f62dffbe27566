#pragma once

#include "raster.h"

namespace assetgen {

// Palette entries of the tile pictures.
constexpr std::uint8_t kTileGrey = 15;
constexpr std::uint8_t kTileRed = 16;
constexpr std::uint8_t kTileInk = 37;

// Indices into the standard 16-colour palette.
constexpr std::uint8_t kBlack = 0;
constexpr std::uint8_t kRed = 9;
constexpr std::uint8_t kWhite = 15;

// Tile 0 flat grey; tiles 1 to 15 red with a blackletter numeral. 38 x 38.
Raster tileDesign(int number);

// The solved puzzle on a 33 x 33 dot grid: black lines, red cells with dot
// numbers, and the gap as a white cell with a sideways smiley.
Raster previewDesign();

// Every dot of `design` as a `factor` x `factor` block of pixels.
Raster enlarged(const Raster &design, int factor);

// The icon's two images: 32 x 32 with numbers and the gap bottom left, and
// 16 x 16 with plain cells.
Raster largeIcon();
Raster smallIcon();

} // namespace assetgen
