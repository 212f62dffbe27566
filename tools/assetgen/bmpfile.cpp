#include "bmpfile.h"

#include <stdexcept>

namespace assetgen {

const std::array<Rgb, 16> kStandard16 = {{{0, 0, 0}, {128, 0, 0}, {0, 128, 0}, {128, 128, 0}, {0, 0, 128},
    {128, 0, 128}, {0, 128, 128}, {192, 192, 192}, {128, 128, 128}, {255, 0, 0}, {0, 255, 0}, {255, 255, 0},
    {0, 0, 255}, {255, 0, 255}, {0, 255, 255}, {255, 255, 255}}};

namespace {

void put16(Bytes &out, std::uint32_t value)
{
    out.push_back(static_cast<std::uint8_t>(value));
    out.push_back(static_cast<std::uint8_t>(value >> 8));
}

void put32(Bytes &out, std::uint32_t value)
{
    put16(out, value & 0xFFFF);
    put16(out, value >> 16);
}

int rowBytes(int width, int bitsPerPixel)
{
    return (width * bitsPerPixel + 31) / 32 * 4;
}

// BITMAPINFOHEADER; `height` is the header's own field (doubled in icons).
void putInfoHeader(Bytes &out, int width, int height, int bitsPerPixel, std::uint32_t imageSize)
{
    put32(out, 40);
    put32(out, static_cast<std::uint32_t>(width));
    put32(out, static_cast<std::uint32_t>(height));
    put16(out, 1);
    put16(out, static_cast<std::uint32_t>(bitsPerPixel));
    put32(out, 0); // no compression
    put32(out, imageSize);
    put32(out, 3780); // 96 dots per inch
    put32(out, 3780);
    put32(out, 0); // colours used: all
    put32(out, 0); // colours important: all
}

void putPalette(Bytes &out, const std::vector<Rgb> &palette)
{
    for (const Rgb &c : palette) {
        out.push_back(c.b);
        out.push_back(c.g);
        out.push_back(c.r);
        out.push_back(0);
    }
}

void putPixels(Bytes &out, const Raster &raster, int bitsPerPixel)
{
    const int stride = rowBytes(raster.width, bitsPerPixel);
    for (int y = raster.height - 1; y >= 0; --y) {
        Bytes row(static_cast<std::size_t>(stride), 0);
        for (int x = 0; x < raster.width; ++x) {
            const std::uint8_t index = raster.at(x, y);
            if (bitsPerPixel == 8) {
                row[static_cast<std::size_t>(x)] = index;
            } else {
                row[static_cast<std::size_t>(x / 2)] |= static_cast<std::uint8_t>(x % 2 == 0 ? index << 4 : index);
            }
        }
        out.insert(out.end(), row.begin(), row.end());
    }
}

} // namespace

Bytes bmpFile(const Raster &raster, const std::vector<Rgb> &palette, int bitsPerPixel)
{
    if ((bitsPerPixel != 4 && bitsPerPixel != 8) || palette.size() != (1u << bitsPerPixel)) {
        throw std::invalid_argument("bmpFile: a 4- or 8-bit picture with a full palette");
    }
    const auto imageSize = static_cast<std::uint32_t>(rowBytes(raster.width, bitsPerPixel) * raster.height);
    const auto offset = static_cast<std::uint32_t>(14 + 40 + 4 * palette.size());
    Bytes out;
    out.push_back('B');
    out.push_back('M');
    put32(out, offset + imageSize);
    put32(out, 0);
    put32(out, offset);
    putInfoHeader(out, raster.width, raster.height, bitsPerPixel, imageSize);
    putPalette(out, palette);
    putPixels(out, raster, bitsPerPixel);
    return out;
}

Bytes icoFile(const std::vector<Raster> &images)
{
    const std::vector<Rgb> palette(kStandard16.begin(), kStandard16.end());
    std::vector<Bytes> entries;
    for (const Raster &image : images) {
        const auto colourBytes = static_cast<std::uint32_t>(rowBytes(image.width, 4) * image.height);
        const auto maskBytes = static_cast<std::uint32_t>(rowBytes(image.width, 1) * image.height);
        Bytes entry;
        putInfoHeader(entry, image.width, 2 * image.height, 4, colourBytes + maskBytes);
        putPalette(entry, palette);
        putPixels(entry, image, 4);
        entry.resize(entry.size() + maskBytes, 0); // transparency mask: all opaque
        entries.push_back(std::move(entry));
    }

    Bytes out;
    put16(out, 0);
    put16(out, 1); // an icon
    put16(out, static_cast<std::uint32_t>(images.size()));
    auto offset = static_cast<std::uint32_t>(6 + 16 * images.size());
    for (std::size_t i = 0; i < images.size(); ++i) {
        out.push_back(static_cast<std::uint8_t>(images[i].width));
        out.push_back(static_cast<std::uint8_t>(images[i].height));
        out.push_back(16); // colours
        out.push_back(0);
        put16(out, 1); // planes
        put16(out, 4); // bits per pixel
        put32(out, static_cast<std::uint32_t>(entries[i].size()));
        put32(out, offset);
        offset += static_cast<std::uint32_t>(entries[i].size());
    }
    for (const Bytes &entry : entries) {
        out.insert(out.end(), entry.begin(), entry.end());
    }
    return out;
}

} // namespace assetgen
