#pragma once

#include <QImage>
#include <QString>

// Reading a photo, of any size and of the formats phones and cameras write,
// into the square the tiles are cut from.
namespace photo {

// Formats that cannot be reduced while decoding are decoded whole; larger
// pictures are refused rather than filling the memory.
constexpr qint64 kPixelBudget = 120'000'000;

struct Square {
    QImage picture; // tileset::kPhotoSide square, Format_RGB32, sRGB; null on error
    QString error; // one line naming the file
};

// Why the file at `path` is no photo to open (missing, a folder, a pipe,
// unreadable, empty), or nothing; its first bytes go to `head`.
QString fileProblem(const QString &path, QByteArray &head);

// The largest centred square of the upright picture, in sRGB, with
// transparent parts laid over the board's grey, averaged down
// to tileset::kPhotoSide pixels a side.
Square readSquare(const QString &path);

} // namespace photo
