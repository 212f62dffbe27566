#pragma once

#include "tilepicture.h"

#include <QString>
#include <QStringList>

#include <array>

// Making and checking a folder of tile files: the pieces of one photo as
// 1.bmp ... 15.bmp with a grey gap as 0.bmp, and for each file whether the
// game will read it.
namespace tileset {

// A piece is what a cell shows of a tile file.
constexpr int kPieceSide = tilepicture::kShownSide;
constexpr int kPhotoSide = 4 * kPieceSide; // 156: the smallest photo taken

struct MakeOptions {
    QString photo;
    QString folder = QStringLiteral(".");
    bool force = false;
};

// Writes the sixteen files. An empty result means done; otherwise it is
// the one-line reason nothing was written.
QString make(const MakeOptions &options);

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

// Why `name` cannot name a menu entry (empty, a control character, too long
// for a file name), or nothing.
QString launcherNameProblem(const QString &name);

// The desktop entry that --launcher NAME writes: a file of its own for
// every name. An empty result means `path` is set and may be written (with
// `force` also when it exists) into a folder that exists, else the reason.
QString launcherPath(const QString &name, bool force, QString &path);

// Writes the entry at `path` that starts the game in `folder`; an empty
// result means done, else the reason.
QString writeLauncher(const QString &name, const QString &folder, const QString &path);

} // namespace tileset
