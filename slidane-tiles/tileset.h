#pragma once

#include "photoside.h"

#include <QString>
#include <QStringList>

#include <array>

// Making and checking a folder of tile files: the pieces of one photo as
// 1.bmp ... 15.bmp with a grey gap as 0.bmp, and for each file whether the
// game will read it.
namespace tileset {

struct MakeOptions {
    QString folder = QStringLiteral(".");
    bool force = false;
};

// Writes the sixteen files cut from `square` (kPhotoSide a side). An empty
// result means done; otherwise it is the one-line reason, which says what
// the folder holds: the earlier files unchanged, or after an error while
// renaming part of the new set, which a later make or check finishes. A
// folder it made and could not fill is removed again.
QString make(const QImage &square, const MakeOptions &options);

struct FileReport {
    bool read;
    QString line; // "5.bmp: cut short"
};

struct CheckReport {
    // Why the folder itself cannot be checked ("...: no such folder"); when
    // set, nothing else is.
    QString folderProblem;
    // A make killed while putting its files in place was finished first.
    bool repaired = false;
    std::array<FileReport, 16> files{};
    // Files that all read but come from another make than the rest, or
    // were changed since.
    QStringList strays;
};

// What the game will make of each of the sixteen files in `folder`, and
// whether they belong together.
CheckReport check(const QString &folder);

// Whether `path` may be written: absent, or with `force` a file or a link
// (replaced itself, never its target). An empty result means yes, else the
// reason, which ends in `forceHint` where --force would do.
QString replaceable(const QString &path, bool force, const QString &forceHint);

} // namespace tileset
