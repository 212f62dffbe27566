#pragma once

#include <QImage>
#include <QString>

class QIODevice;

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

// The decoders of `format` (as PhotoFile::format() says it), or of every
// format when it is empty, loaded now: the decoder process opens no file
// once it reads the photo.
void loadDecoders(const QByteArray &format);

// The largest centred square of the upright picture in `file`, in sRGB,
// with transparent parts laid over the board's grey, averaged down to
// tileset::kPhotoSide pixels a side. `name` is the photo's name in errors;
// a `format` is taken as it is, an empty one decided from the content.
// It runs every decoding library over the file's bytes: the program calls
// it only inside the confined decoder process.
Square decodeSquare(QIODevice &file, const QString &name, const QByteArray &format = {});

} // namespace photo
