#pragma once

#include "raster.h"

#include <array>
#include <cstdint>
#include <vector>

namespace assetgen {

struct Rgb {
    std::uint8_t r, g, b;
};

using Bytes = std::vector<std::uint8_t>;

// The sixteen colours of the standard 4-bit palette, in their usual order.
extern const std::array<Rgb, 16> kStandard16;

// A Windows bitmap file, bottom-up rows, no compression, 96 dpi, with the
// given palette (2^bits entries) and pixel depth of 4 or 8 bits.
Bytes bmpFile(const Raster &raster, const std::vector<Rgb> &palette, int bitsPerPixel);

// A Windows icon file of 4-bit images with the standard palette, every
// pixel opaque, in the order given.
Bytes icoFile(const std::vector<Raster> &images);

} // namespace assetgen
