#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace assetgen {

// A picture as palette indices, row 0 at the top.
struct Raster {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> pixels;

    Raster(int w, int h, std::uint8_t fill)
        : width(w)
        , height(h)
        , pixels(static_cast<std::size_t>(w * h), fill)
    {
    }

    std::uint8_t &at(int x, int y) { return pixels[static_cast<std::size_t>(y * width + x)]; }
    std::uint8_t at(int x, int y) const { return pixels[static_cast<std::size_t>(y * width + x)]; }

    // Paints `ink` wherever `art` (rows of '#' and '.') has a '#', with the
    // art's top-left corner at (left, top).
    void stamp(const std::vector<std::string> &art, int left, int top, std::uint8_t ink);
};

} // namespace assetgen
