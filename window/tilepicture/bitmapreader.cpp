#include "bitmapreader.h"

#include <QByteArray>

#include <algorithm>
#include <array>
#include <bit>
#include <optional>

namespace bitmapreader {
namespace {

constexpr qint64 kFileHeaderSize = 14;
constexpr qint64 kInfoHeaderAt = kFileHeaderSize;

enum Compression : quint32 { kRgb = 0, kRle8 = 1, kRle4 = 2, kBitFields = 3, kAlphaBitFields = 6 };

// The info header versions, told apart by their size. OS/2 2.x headers (16
// and 64 bytes) use compression 3 and 4 for Huffman and RLE24 coding, which
// no common viewer shows, so they take no colour masks.
struct HeaderKind {
    quint32 size;
    bool os2Core; // 16-bit sides, 3-byte palette entries, no compression field
    bool takesMasks;
    int masksInHeader; // masks stored in the header itself rather than after it
};
constexpr std::array kHeaderKinds{
    HeaderKind{12, true, false, 0},
    HeaderKind{16, false, false, 0},
    HeaderKind{40, false, true, 0},
    HeaderKind{52, false, true, 3},
    HeaderKind{56, false, true, 4},
    HeaderKind{64, false, false, 0},
    HeaderKind{108, false, true, 4},
    HeaderKind{124, false, true, 4},
};

class Bytes {
public:
    explicit Bytes(const QByteArray &bytes)
        : data_(reinterpret_cast<const uchar *>(bytes.constData()))
        , size_(bytes.size())
    {
    }

    qint64 size() const { return size_; }
    bool holds(qint64 at, qint64 count) const { return at >= 0 && count >= 0 && at <= size_ && count <= size_ - at; }
    uchar operator[](qint64 at) const { return data_[at]; }

    quint32 little(qint64 at, int width) const
    {
        quint32 value = 0;
        for (int i = width - 1; i >= 0; --i) {
            value = value << 8 | data_[at + i];
        }
        return value;
    }

private:
    const uchar *data_;
    qint64 size_;
};

struct Layout {
    qint64 width = 0;
    qint64 height = 0;
    bool topDown = false;
    int bits = 0;
    quint32 compression = kRgb;
    std::array<quint32, 4> masks{}; // red, green, blue, alpha
    qint64 paletteAt = 0;
    qint64 paletteCount = 0;
    int paletteEntry = 4;
    qint64 pixelsAt = 0;
};

bool compressionFits(const HeaderKind &kind, int bits, quint32 compression)
{
    switch (compression) {
    case kRgb:
        return bits == 1 || bits == 2 || bits == 4 || bits == 8 || bits == 16 || bits == 24 || bits == 32;
    case kRle8:
        return bits == 8;
    case kRle4:
        return bits == 4;
    case kBitFields:
    case kAlphaBitFields:
        return kind.takesMasks && (bits == 16 || bits == 32);
    default:
        return false;
    }
}

// The size, depth and compression from the info header of the given kind.
// Nothing is allocated for pixels before every claim is checked.
std::optional<Layout> readDimensions(const Bytes &b, const HeaderKind &kind, int maxSide, Outcome &refusal)
{
    Layout l;
    qint64 height = 0;
    if (kind.os2Core) {
        l.width = b.little(18, 2);
        height = b.little(20, 2);
        l.bits = static_cast<int>(b.little(24, 2));
        l.paletteEntry = 3;
    } else {
        l.width = static_cast<qint32>(b.little(18, 4));
        height = static_cast<qint32>(b.little(22, 4));
        l.bits = static_cast<int>(b.little(28, 2));
        l.compression = kind.size >= 40 ? b.little(30, 4) : kRgb;
    }
    l.topDown = height < 0;
    l.height = height < 0 ? -height : height;
    if (l.width < 1 || l.height < 1 || !compressionFits(kind, l.bits, l.compression)) {
        return {};
    }
    if (l.width > maxSide || l.height > maxSide) {
        refusal = Outcome::TooLarge;
        return {};
    }
    return l;
}

// The colour masks, from the info header or just after it (which moves
// afterHeader past them), or the fixed ones of an uncompressed depth.
bool readMasks(const Bytes &b, const HeaderKind &kind, Layout &l, qint64 &afterHeader)
{
    if (l.compression == kBitFields || l.compression == kAlphaBitFields) {
        int count = kind.masksInHeader;
        qint64 at = kInfoHeaderAt + 40;
        if (count == 0) {
            count = l.compression == kAlphaBitFields ? 4 : 3;
            at = afterHeader;
            afterHeader += 4 * count;
        }
        if (!b.holds(at, 4 * count)) {
            return false;
        }
        for (int i = 0; i < count; ++i) {
            l.masks.at(static_cast<std::size_t>(i)) = b.little(at + 4 * i, 4);
        }
    } else if (l.bits == 16) {
        l.masks = {0x7C00, 0x03E0, 0x001F, 0};
    } else if (l.bits == 32) {
        l.masks = {0xFF0000, 0xFF00, 0xFF, 0};
    }
    return true;
}

// Where the palette of a depth of 8 bits or fewer lies, and how many entries
// it has.
bool readPalette(const Bytes &b, const HeaderKind &kind, Layout &l, qint64 afterHeader)
{
    if (l.bits > 8) {
        return true;
    }
    qint64 count = qint64{1} << l.bits;
    const quint32 used = kind.size >= 40 ? b.little(kInfoHeaderAt + 32, 4) : 0;
    if (used != 0 && used < count) {
        count = used;
    }
    // Some writers store fewer entries than the depth allows and start
    // the pixels right after them.
    if (l.pixelsAt >= afterHeader) {
        count = std::min(count, (l.pixelsAt - afterHeader) / l.paletteEntry);
    }
    if (!b.holds(afterHeader, count * l.paletteEntry)) {
        return false;
    }
    l.paletteAt = afterHeader;
    l.paletteCount = count;
    return true;
}

// Reads the headers, masks and palette; every claim is checked here, before
// anything is allocated for pixels.
std::optional<Layout> readLayout(const Bytes &b, int maxSide, Outcome &refusal)
{
    refusal = Outcome::UnknownKind;
    if (!b.holds(0, kInfoHeaderAt + 4)) {
        return {};
    }
    const quint32 size = b.little(kInfoHeaderAt, 4);
    const auto *kind =
        std::find_if(kHeaderKinds.begin(), kHeaderKinds.end(), [size](const HeaderKind &k) { return k.size == size; });
    if (kind == kHeaderKinds.end() || !b.holds(kInfoHeaderAt, size)) {
        return {};
    }
    std::optional<Layout> l = readDimensions(b, *kind, maxSide, refusal);
    if (!l) {
        return {};
    }
    refusal = Outcome::CutShort;
    qint64 afterHeader = kInfoHeaderAt + size;
    if (!readMasks(b, *kind, *l, afterHeader)) {
        return {};
    }
    l->pixelsAt = b.little(10, 4);
    if (l->pixelsAt > b.size() || !readPalette(b, *kind, *l, afterHeader)) {
        return {};
    }
    return l;
}

// One colour channel of a 16- or 32-bit pixel. A channel of n bits is
// widened to the full range, v * 255 / (2^n - 1) rounded, so that its
// largest value is 255 rather than the 248 a plain shift gives.
class Channel {
public:
    explicit Channel(quint32 mask)
        : mask_(mask)
        , shift_(mask == 0 ? 0 : std::countr_zero(mask))
        , max_(mask >> shift_)
    {
    }

    bool present() const { return max_ != 0; }

    int widen(quint32 pixel) const
    {
        return max_ == 0 ? 0 : static_cast<int>((quint64{(pixel & mask_) >> shift_} * 255 + max_ / 2) / max_);
    }

private:
    quint32 mask_;
    int shift_;
    quint32 max_;
};

class Decoder {
public:
    Decoder(const Bytes &bytes, const Layout &layout)
        : b_(bytes)
        , l_(layout)
        , red_(layout.masks[0])
        , green_(layout.masks[1])
        , blue_(layout.masks[2])
        , alpha_(layout.masks[3])
    {
        // Indices past the palette show black, as they do in common viewers.
        palette_.fill(qRgb(0, 0, 0));
        for (qint64 i = 0; i < l_.paletteCount; ++i) {
            const qint64 at = l_.paletteAt + i * l_.paletteEntry;
            palette_.at(static_cast<std::size_t>(i)) = qRgb(b_[at + 2], b_[at + 1], b_[at]);
        }
    }

    bool runLength() const { return l_.compression == kRle8 || l_.compression == kRle4; }
    bool hasAlpha() const { return runLength() || alpha_.present(); }

    // Uncompressed rows are padded to four bytes; a file that ends inside
    // the last row's padding is cut short all the same.
    qint64 stride() const { return (l_.width * l_.bits + 31) / 32 * 4; }
    bool rowsPresent() const { return b_.holds(l_.pixelsAt, stride() * l_.height); }

    // The depth is settled once a row, not once a pixel: the built-in
    // pictures are read this way at every start.
    void readRows(QImage &out) const
    {
        const int width = out.width();
        for (int y = 0; y < out.height(); ++y) {
            const qint64 row = l_.pixelsAt + stride() * (l_.topDown ? y : l_.height - 1 - y);
            auto *line = reinterpret_cast<QRgb *>(out.scanLine(y));
            switch (l_.bits) {
            case 16:
            case 32: {
                const int bytes = l_.bits / 8;
                for (int x = 0; x < width; ++x) {
                    line[x] = masked(b_.little(row + qint64{bytes} * x, bytes));
                }
                break;
            }
            case 8:
                for (int x = 0; x < width; ++x) {
                    line[x] = palette_[b_[row + x]];
                }
                break;
            case 24:
                for (int x = 0; x < width; ++x) {
                    const qint64 at = row + 3 * qint64{x};
                    line[x] = qRgb(b_[at + 2], b_[at + 1], b_[at]);
                }
                break;
            default: {
                // Palette indices of one, two or four bits, the first
                // pixel in the high bits of its byte.
                const int bits = l_.bits;
                const int mask = (1 << bits) - 1;
                for (int x = 0; x < width; ++x) {
                    const qint64 bit = qint64{x} * bits;
                    line[x] = palette_[static_cast<std::size_t>(b_[row + bit / 8] >> (8 - bits - bit % 8) & mask)];
                }
                break;
            }
            }
        }
    }

    // Pixels the codes never reach keep the transparent fill of `out`; a
    // run of codes cut short ends the picture where it breaks off.
    void readRuns(QImage &out) const
    {
        const bool four = l_.compression == kRle4;
        qint64 at = l_.pixelsAt;
        qint64 x = 0;
        qint64 row = 0; // in storage order
        const auto put = [&](qint64 count, const auto &indexOf) {
            const qint64 y = l_.topDown ? row : l_.height - 1 - row;
            if (y < out.height()) {
                auto *line = reinterpret_cast<QRgb *>(out.scanLine(static_cast<int>(y)));
                for (qint64 i = 0; i < count && x + i < out.width(); ++i) {
                    line[x + i] = palette_.at(indexOf(i));
                }
            }
            x += count;
        };
        const auto nibble = [](uchar byte, qint64 i) -> std::size_t { return i % 2 == 0 ? byte >> 4 : byte & 0x0F; };

        while (row < l_.height && b_.holds(at, 2)) {
            const uchar count = b_[at];
            const uchar value = b_[at + 1];
            at += 2;
            if (count > 0) {
                put(count, [&](qint64 i) { return four ? nibble(value, i) : std::size_t{value}; });
            } else if (value == 0) {
                x = 0;
                ++row;
            } else if (value == 1) {
                return;
            } else if (value == 2) {
                if (!b_.holds(at, 2)) {
                    return;
                }
                x += b_[at];
                row += b_[at + 1];
                at += 2;
            } else {
                const qint64 bytes = four ? (value + 1) / 2 : value;
                if (!b_.holds(at, bytes)) {
                    return;
                }
                const qint64 from = at;
                put(value, [&](qint64 i) { return four ? nibble(b_[from + i / 2], i) : std::size_t{b_[from + i]}; });
                at += (bytes + 1) / 2 * 2;
            }
        }
    }

private:
    QRgb masked(quint32 value) const
    {
        return qRgba(
            red_.widen(value), green_.widen(value), blue_.widen(value), alpha_.present() ? alpha_.widen(value) : 255);
    }

    const Bytes &b_;
    const Layout &l_;
    Channel red_, green_, blue_, alpha_;
    std::array<QRgb, 256> palette_{};
};

} // namespace

bool isBitmap(const QByteArray &bytes)
{
    return bytes.startsWith("BM");
}

Result read(const QByteArray &bytes, int maxSide, QSize keep)
{
    const Bytes b(bytes);
    Outcome refusal = Outcome::UnknownKind;
    const std::optional<Layout> layout = readLayout(b, maxSide, refusal);
    if (!layout) {
        return {{}, refusal};
    }
    const Decoder decoder(b, *layout);
    const int width = static_cast<int>(std::min<qint64>(layout->width, keep.width()));
    const int height = static_cast<int>(std::min<qint64>(layout->height, keep.height()));
    if (!decoder.runLength() && !decoder.rowsPresent()) {
        return {{}, Outcome::CutShort};
    }
    QImage out(width, height, decoder.hasAlpha() ? QImage::Format_ARGB32 : QImage::Format_RGB32);
    if (out.isNull()) {
        return {{}, Outcome::OutOfMemory};
    }
    if (decoder.runLength()) {
        out.fill(Qt::transparent);
        decoder.readRuns(out);
    } else {
        decoder.readRows(out);
    }
    return {out, Outcome::Read};
}

} // namespace bitmapreader
