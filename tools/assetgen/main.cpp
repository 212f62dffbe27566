// Writes the game's built-in pictures: tile_00.bmp to tile_15.bmp,
// preview.bmp, icon.ico, and the icon's two images again as icon_16.bmp and
// icon_32.bmp (bitmaps decode without loading an image plugin at start-up),
// into the folder given. The output depends on
// nothing but this program, so every run writes the same bytes.
#include "bmpfile.h"
#include "designs.h"

#include <cstdio>
#include <fstream>
#include <string>

namespace {

bool write(const std::string &path, const assetgen::Bytes &bytes)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char *>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    return static_cast<bool>(out);
}

} // namespace

int main(int argc, char *argv[])
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s OUTPUT_FOLDER\n", argv[0]);
        return 2;
    }
    using namespace assetgen;
    const std::string folder = std::string(argv[1]) + "/";

    // Only three entries are used; the rest stay black.
    std::vector<Rgb> tilePalette(256, Rgb{0, 0, 0});
    tilePalette[kTileGrey] = {192, 192, 192};
    tilePalette[kTileRed] = {255, 0, 0};
    tilePalette[kTileInk] = {4, 0, 0};

    bool ok = true;
    for (int number = 0; number < 16; ++number) {
        char name[16];
        std::snprintf(name, sizeof name, "tile_%02d.bmp", number);
        ok = write(folder + name, bmpFile(tileDesign(number), tilePalette, 8)) && ok;
    }
    const std::vector<Rgb> standard(kStandard16.begin(), kStandard16.end());
    ok = write(folder + "preview.bmp", bmpFile(enlarged(previewDesign(), 2), standard, 4)) && ok;
    ok = write(folder + "icon.ico", icoFile({largeIcon(), smallIcon()})) && ok;
    ok = write(folder + "icon_32.bmp", bmpFile(largeIcon(), standard, 4)) && ok;
    ok = write(folder + "icon_16.bmp", bmpFile(smallIcon(), standard, 4)) && ok;
    if (!ok) {
        std::fprintf(stderr, "%s: could not write into %s\n", argv[0], argv[1]);
        return 1;
    }
    return 0;
}
