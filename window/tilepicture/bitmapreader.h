#pragma once

#include <QImage>
#include <QSize>

class QByteArray;

// Windows and OS/2 bitmaps, read the way common viewers show them: every
// header version, top-down rows, 16-bit channels widened to the full range,
// and pixels that a run-length bitmap leaves out fully transparent.
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
