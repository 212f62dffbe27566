#include "raster.h"

namespace assetgen {

void Raster::stamp(const std::vector<std::string> &art, int left, int top, std::uint8_t ink)
{
    for (std::size_t row = 0; row < art.size(); ++row) {
        for (std::size_t col = 0; col < art[row].size(); ++col) {
            if (art[row][col] == '#') {
                at(left + static_cast<int>(col), top + static_cast<int>(row)) = ink;
            }
        }
    }
}

} // namespace assetgen
