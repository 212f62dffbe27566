#pragma once

#include "tilepicture.h"

// The square taken from a photo is cut into the 4 x 4 pieces of a set; the
// photo reader needs its side, and nothing else of the set writer.
namespace tileset {

// A piece is what a cell shows of a tile file.
constexpr int kPieceSide = tilepicture::kShownSide;
constexpr int kPhotoSide = 4 * kPieceSide; // 156: the smallest photo taken

} // namespace tileset
