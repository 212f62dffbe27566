#include "designs.h"

#include "numerals.h"

namespace assetgen {
namespace {

const std::vector<std::string> kSmiley = {
    ".......",
    "....#..",
    ".#...#.",
    "...#.#.",
    ".#...#.",
    "....#..",
    ".......",
};

// A grid of `cells` x `cells` red squares of `inner` dots, each closed by a
// one-dot black line on its right and below, and with `outerEdge` also on
// the left and top.
Raster redGrid(int cells, int inner, bool outerEdge)
{
    const int origin = outerEdge ? 1 : 0;
    const int pitch = inner + 1;
    Raster design(origin + cells * pitch, origin + cells * pitch, kBlack);
    for (int y = 0; y < design.height; ++y) {
        for (int x = 0; x < design.width; ++x) {
            const bool onLine =
                (x - origin) % pitch == inner || (y - origin) % pitch == inner || x < origin || y < origin;
            if (!onLine) {
                design.at(x, y) = kRed;
            }
        }
    }
    return design;
}

void whiteCell(Raster &design, int left, int top, int inner)
{
    for (int y = 0; y < inner; ++y) {
        for (int x = 0; x < inner; ++x) {
            design.at(left + x, top + y) = kWhite;
        }
    }
}

// The 4 x 4 grid of 7 x 7 dot cells of the preview and the large icon. The
// cell `gapCell` (0 to 15, reading order) shows the smiley; the numbers 1 to
// 15 fill the others in reading order.
Raster numberedGrid(bool outerEdge, int gapCell)
{
    const int origin = outerEdge ? 1 : 0;
    Raster design = redGrid(4, 7, outerEdge);
    int number = 1;
    for (int cell = 0; cell < 16; ++cell) {
        const int left = origin + (cell % 4) * 8;
        const int top = origin + (cell / 4) * 8;
        if (cell == gapCell) {
            whiteCell(design, left, top, 7);
            design.stamp(kSmiley, left, top, kBlack);
        } else {
            drawDotNumber(design, number++, left, top, kBlack);
        }
    }
    return design;
}

} // namespace

Raster tileDesign(int number)
{
    Raster tile(38, 38, number == 0 ? kTileGrey : kTileRed);
    if (number != 0) {
        drawBlackletterNumber(tile, number, kTileInk);
    }
    return tile;
}

Raster previewDesign()
{
    return numberedGrid(true, 15);
}

Raster largeIcon()
{
    return numberedGrid(false, 12);
}

Raster smallIcon()
{
    Raster icon = redGrid(4, 3, false);
    whiteCell(icon, 0, 12, 3);
    return icon;
}

Raster enlarged(const Raster &design, int factor)
{
    Raster big(design.width * factor, design.height * factor, 0);
    for (int y = 0; y < big.height; ++y) {
        for (int x = 0; x < big.width; ++x) {
            big.at(x, y) = design.at(x / factor, y / factor);
        }
    }
    return big;
}

} // namespace assetgen
