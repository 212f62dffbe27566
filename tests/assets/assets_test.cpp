// Reads the built-in pictures with a decoder of its own and checks them
// against the picture formats and designs the game promises.
#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <fstream>
#include <iterator>
#include <set>
#include <string>
#include <vector>

namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes readAsset(const std::string &name)
{
    std::ifstream in(std::string(ASSETS_DIR) + "/" + name, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

std::uint32_t le(const Bytes &b, std::size_t at, int size)
{
    std::uint32_t value = 0;
    for (int i = size - 1; i >= 0; --i) {
        value = value << 8 | b.at(at + static_cast<std::size_t>(i));
    }
    return value;
}

struct Rgb {
    int r, g, b;
    friend bool operator==(const Rgb &, const Rgb &) = default;
};

// A decoded 4- or 8-bit bitmap: the info header at `header`, its palette
// after it, pixel indices top row first.
struct Indexed {
    int width = 0;
    int height = 0;
    std::vector<Rgb> palette;
    std::vector<int> pixels;
    int at(int x, int y) const { return pixels.at(static_cast<std::size_t>(y * width + x)); }
    std::set<int> used() const { return {pixels.begin(), pixels.end()}; }
};

Indexed decode(const Bytes &b, std::size_t header, std::size_t pixelsAt, int height)
{
    Indexed image;
    image.width = static_cast<int>(le(b, header + 4, 4));
    image.height = height;
    const int bits = static_cast<int>(le(b, header + 14, 2));
    for (int i = 0; i < (1 << bits); ++i) {
        const std::size_t entry = header + 40 + 4 * static_cast<std::size_t>(i);
        image.palette.push_back({b.at(entry + 2), b.at(entry + 1), b.at(entry)});
    }
    const int stride = (image.width * bits + 31) / 32 * 4;
    image.pixels.resize(static_cast<std::size_t>(image.width * height));
    for (int y = 0; y < height; ++y) {
        const std::size_t row = pixelsAt + static_cast<std::size_t>((height - 1 - y) * stride);
        for (int x = 0; x < image.width; ++x) {
            const int byte = b.at(row + static_cast<std::size_t>(x * bits / 8));
            image.pixels[static_cast<std::size_t>(y * image.width + x)] =
                bits == 8 ? byte : (x % 2 == 0 ? byte >> 4 : byte & 15);
        }
        for (int pad = (image.width * bits + 7) / 8; pad < stride; ++pad) {
            EXPECT_EQ(b.at(row + static_cast<std::size_t>(pad)), 0) << "row padding must be zero";
        }
    }
    return image;
}

const std::array<Rgb, 16> kStandard16 = {{{0, 0, 0}, {128, 0, 0}, {0, 128, 0}, {128, 128, 0}, {0, 0, 128},
    {128, 0, 128}, {0, 128, 128}, {192, 192, 192}, {128, 128, 128}, {255, 0, 0}, {0, 255, 0}, {255, 255, 0},
    {0, 0, 255}, {255, 0, 255}, {0, 255, 255}, {255, 255, 255}}};

void expectInfoHeader(const Bytes &b, std::size_t at, int width, int height, int bits, std::uint32_t imageSize)
{
    EXPECT_EQ(le(b, at, 4), 40u);
    EXPECT_EQ(le(b, at + 4, 4), static_cast<std::uint32_t>(width));
    EXPECT_EQ(le(b, at + 8, 4), static_cast<std::uint32_t>(height));
    EXPECT_EQ(le(b, at + 12, 2), 1u);
    EXPECT_EQ(le(b, at + 14, 2), static_cast<std::uint32_t>(bits));
    EXPECT_EQ(le(b, at + 16, 4), 0u) << "no compression";
    EXPECT_EQ(le(b, at + 20, 4), imageSize);
    EXPECT_EQ(le(b, at + 32, 4), 0u) << "colours used";
    EXPECT_EQ(le(b, at + 36, 4), 0u) << "colours important";
}

std::string tileName(int n)
{
    return "tile_" + std::string(n < 10 ? "0" : "") + std::to_string(n) + ".bmp";
}

TEST(Tiles, FileLayoutAndSharedPalette)
{
    std::vector<Rgb> firstPalette;
    for (int n = 0; n < 16; ++n) {
        SCOPED_TRACE(tileName(n));
        const Bytes b = readAsset(tileName(n));
        ASSERT_EQ(b.size(), 2598u);
        EXPECT_EQ(b[0], 'B');
        EXPECT_EQ(b[1], 'M');
        EXPECT_EQ(le(b, 2, 4), 2598u);
        EXPECT_EQ(le(b, 10, 4), 1078u);
        expectInfoHeader(b, 14, 38, 38, 8, 1520);
        EXPECT_EQ(le(b, 38, 4), 3780u);
        EXPECT_EQ(le(b, 42, 4), 3780u);
        const Indexed tile = decode(b, 14, 1078, 38);
        EXPECT_EQ(tile.palette[15], (Rgb{192, 192, 192}));
        EXPECT_EQ(tile.palette[16], (Rgb{255, 0, 0}));
        EXPECT_EQ(tile.palette[37], (Rgb{4, 0, 0}));
        if (n == 0) {
            firstPalette = tile.palette;
            EXPECT_EQ(tile.used(), (std::set<int>{15})) << "the gap is flat grey";
        } else {
            EXPECT_EQ(tile.palette, firstPalette);
            EXPECT_EQ(tile.used(), (std::set<int>{16, 37})) << "red with a near-black numeral";
        }
    }
}

TEST(Tiles, NumeralsFillTheirExtentsWithThickStems)
{
    struct Extent {
        int top, bottom, left, right;
    };
    const std::array<Extent, 16> expected = {{{}, {6, 31, 14, 23}, {7, 31, 10, 26}, {6, 31, 12, 26}, {7, 31, 9, 26},
        {6, 30, 11, 25}, {1, 31, 9, 25}, {7, 31, 13, 28}, {7, 30, 10, 25}, {7, 35, 10, 26}, {6, 31, 4, 32},
        {6, 31, 10, 29}, {6, 31, 5, 32}, {6, 31, 7, 31}, {6, 31, 6, 33}, {6, 31, 5, 31}}};
    for (int n = 1; n < 16; ++n) {
        SCOPED_TRACE(tileName(n));
        const Indexed tile = decode(readAsset(tileName(n)), 14, 1078, 38);
        Extent ink{38, -1, 38, -1};
        int longestRun = 0;
        for (int y = 0; y < 38; ++y) {
            int run = 0;
            for (int x = 0; x < 38; ++x) {
                if (tile.at(x, y) == 37) {
                    ink = {
                        std::min(ink.top, y), std::max(ink.bottom, y), std::min(ink.left, x), std::max(ink.right, x)};
                    longestRun = std::max(longestRun, ++run);
                } else {
                    run = 0;
                }
            }
        }
        const Extent &want = expected[static_cast<std::size_t>(n)];
        EXPECT_NEAR(ink.top, want.top, 2);
        EXPECT_NEAR(ink.bottom, want.bottom, 2);
        EXPECT_NEAR(ink.left, want.left, 2);
        EXPECT_NEAR(ink.right, want.right, 2);
        EXPECT_GE(longestRun, 5) << "a stem about five pixels wide";
    }
}

TEST(Preview, FileLayoutAndDoubledDesign)
{
    const Bytes b = readAsset("preview.bmp");
    ASSERT_EQ(b.size(), 2494u);
    EXPECT_EQ(le(b, 2, 4), 2494u);
    EXPECT_EQ(le(b, 10, 4), 118u);
    expectInfoHeader(b, 14, 66, 66, 4, 2376);
    EXPECT_EQ(le(b, 38, 4), 3780u);
    const Indexed preview = decode(b, 14, 118, 66);
    EXPECT_TRUE(std::equal(kStandard16.begin(), kStandard16.end(), preview.palette.begin()));
    EXPECT_EQ(preview.used(), (std::set<int>{0, 9, 15}));
    for (int y = 0; y < 66; y += 2) {
        for (int x = 0; x < 66; x += 2) {
            ASSERT_TRUE(preview.at(x, y) == preview.at(x + 1, y) && preview.at(x, y) == preview.at(x, y + 1)
                && preview.at(x, y) == preview.at(x + 1, y + 1))
                << "dot at " << x / 2 << ", " << y / 2 << " is not a 2 x 2 block";
        }
    }
    for (const int line : {0, 16, 32, 48, 64}) {
        for (int i = 0; i < 66; ++i) {
            EXPECT_EQ(preview.at(line, i), 0);
            EXPECT_EQ(preview.at(i, line), 0);
        }
    }
    // Reading order: red numbered cells, the white gap bottom right.
    for (int cell = 0; cell < 16; ++cell) {
        const int x = 2 + 16 * (cell % 4);
        const int y = 2 + 16 * (cell / 4);
        EXPECT_EQ(preview.at(x, y), cell == 15 ? 15 : 9) << "cell " << cell;
    }
}

TEST(Icon, TwoOpaqueFourBitImagesWithTheGapBottomLeft)
{
    const Bytes b = readAsset("icon.ico");
    ASSERT_GE(b.size(), 6u + 32u);
    EXPECT_EQ(le(b, 0, 2), 0u);
    EXPECT_EQ(le(b, 2, 2), 1u);
    ASSERT_EQ(le(b, 4, 2), 2u);
    const struct {
        int side;
        std::uint32_t bytes;
        int pitch;
    } images[] = {{32, 744, 8}, {16, 296, 4}};
    for (std::size_t i = 0; i < 2; ++i) {
        SCOPED_TRACE(images[i].side);
        const std::size_t entry = 6 + 16 * i;
        EXPECT_EQ(b.at(entry), images[i].side);
        EXPECT_EQ(b.at(entry + 1), images[i].side);
        EXPECT_EQ(le(b, entry + 6, 2), 4u);
        EXPECT_EQ(le(b, entry + 8, 4), images[i].bytes);
        const std::size_t at = le(b, entry + 12, 4);
        ASSERT_LE(at + images[i].bytes, b.size());
        const int side = images[i].side;
        const std::uint32_t colourBytes = static_cast<std::uint32_t>(side * side / 2);
        const std::uint32_t maskBytes = static_cast<std::uint32_t>(4 * side);
        expectInfoHeader(b, at, side, 2 * side, 4, colourBytes + maskBytes);
        const Indexed image = decode(b, at, at + 40 + 64, side);
        EXPECT_TRUE(std::equal(kStandard16.begin(), kStandard16.end(), image.palette.begin()));
        EXPECT_EQ(image.used(), (std::set<int>{0, 9, 15}));
        for (std::uint32_t m = 0; m < maskBytes; ++m) {
            ASSERT_EQ(b.at(at + 40 + 64 + colourBytes + m), 0) << "every pixel opaque";
        }
        const int pitch = images[i].pitch;
        for (int line = pitch - 1; line < side; line += pitch) {
            for (int j = 0; j < side; ++j) {
                EXPECT_EQ(image.at(line, j), 0);
                EXPECT_EQ(image.at(j, line), 0);
            }
        }
        for (int cell = 0; cell < 16; ++cell) {
            const int x = pitch * (cell % 4);
            const int y = pitch * (cell / 4);
            EXPECT_EQ(image.at(x, y), cell == 12 ? 15 : 9) << "cell " << cell;
        }

        // The window takes the same image from a plain bitmap.
        const Bytes bmp = readAsset("icon_" + std::to_string(side) + ".bmp");
        ASSERT_EQ(bmp.size(), 14u + 40u + 64u + colourBytes);
        expectInfoHeader(bmp, 14, side, side, 4, colourBytes);
        EXPECT_EQ(decode(bmp, 14, 118, side).pixels, image.pixels);
    }
}

} // namespace
