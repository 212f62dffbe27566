#pragma once

#include <QImage>
#include <QSize>

class QByteArray;

// Windows and OS/2 bitmaps, read the way common viewers show them: every
// header version, top-down rows, 16-bit channels widened to the full range,
// and pixels that a run-length bitmap leaves out fully transparent.
//
// Qt's own reader is not used because, as of Qt 6.4, it widens 5- and 6-bit
// channels by shifting (white shows as #F8F8F8), and refuses 16-, 52- and
// 56-byte headers, 2-bit pixels, compression 6 after a 40-byte header,
// run-length bitmaps stored top-down and palettes shorter than the depth
// allows, all of which other programs write and common viewers show. Once the
// oldest Qt the game builds with reads the bitmaps of tilepicture_test's table
// as that table expects, this reader can give way to it.
namespace bitmapreader {

// Whether the bytes are meant as a bitmap ("BM"), whatever else they hold.
bool isBitmap(const QByteArray &bytes);

enum class Outcome { Read, UnknownKind, TooLarge, CutShort, OutOfMemory };

struct Result {
    QImage image; // null unless the outcome is Read
    Outcome outcome;
};

// The top-left `keep` part of the bitmap in `bytes`. Refused when the header
// is of no known kind, claims more than `maxSide` pixels a side, or when
// uncompressed rows run past the end of the bytes; nothing is allocated for
// pixels before those checks.
Result read(const QByteArray &bytes, int maxSide, QSize keep);

} // namespace bitmapreader
