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

// Whether a tile file gives a picture, and if not, why.
enum class Verdict {
    Read,
    Missing,
    Unreadable, // exists but cannot be opened
    NotRegularFile,
    Empty, // a regular file of no bytes
    FileTooLarge,
    PictureTooLarge,
    CutShort,
    NotAPicture,
    OutOfMemory,
};

struct Loaded {
    QImage picture; // what a cell shows; null unless the verdict is Read
    Verdict verdict;
};

// The file of tile 0 to 15 in a folder: "./7.bmp" in the current directory.
QString filePath(int tile, const QString &folder = QStringLiteral("."));

// The part of the picture in `bytes` that a cell shows.
Loaded decode(const QByteArray &bytes);

// The same for the file at `path`.
Loaded load(const QString &path);

} // namespace tilepicture
