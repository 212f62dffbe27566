#pragma once

#include "tilepicture.h"

#include <QString>

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

// What the game will make of each of the sixteen files in `folder`.
std::array<FileReport, 16> check(const QString &folder);

// Writes a per-user desktop entry that starts the game in `folder`; an empty
// result means done, else the reason. `written` is the entry's path.
QString writeLauncher(const QString &name, const QString &folder, QString &written);

} // namespace tileset
