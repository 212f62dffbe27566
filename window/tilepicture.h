#pragma once

#include <QImage>
#include <QString>

class QByteArray;

// Tile pictures from files beside the player: anything that is not a sane
// picture in a regular file counts as unreadable, without blocking on a pipe
// or device and without allocating what a lying header asks for.
namespace tilepicture {

// Larger files or pictures are refused.
constexpr qint64 kMaxFileBytes = 8 * 1024 * 1024;
constexpr int kMaxSide = 1024;

// A cell shows this much of a picture from its top-left corner; nothing
// more is kept of a tile file.
constexpr int kShownSide = 39;

// The file of tile 0 to 15 in the current directory: "./7.bmp".
QString filePath(int tile);

// The part of the picture in `bytes` that a cell shows, or a null image when
// they hold no picture within the limits.
QImage decode(const QByteArray &bytes);

// The same for the file at `path`; a null image when it cannot be had.
QImage load(const QString &path);

} // namespace tilepicture
