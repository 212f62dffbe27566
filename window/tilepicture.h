#pragma once

#include <QImage>
#include <QString>

class QByteArray;

// Tile pictures from files beside the player: anything that is not a sane
// picture in a regular file counts as unreadable, without blocking on a pipe
// or device and without allocating what a lying header asks for.
namespace tilepicture {

// Larger files or pictures are refused; a cell shows at most 39 x 39 pixels.
constexpr qint64 kMaxFileBytes = 8 * 1024 * 1024;
constexpr int kMaxSide = 1024;

// The file of tile 0 to 15 in the current directory: "./7.bmp".
QString filePath(int tile);

// The picture in `bytes`, or a null image when they hold none within the limits.
QImage decode(const QByteArray &bytes);

// The picture in the file at `path`, or a null image when it cannot be had.
QImage load(const QString &path);

} // namespace tilepicture
