#include "tileset.h"

#include "photo.h"
#include "tilepicture.h"

#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <QSaveFile>
#include <QStandardPaths>

#include <algorithm>
#include <memory>

namespace tileset {
namespace {

QString verdictText(tilepicture::Verdict verdict)
{
    using tilepicture::Verdict;
    switch (verdict) {
    case Verdict::Read:
        return QStringLiteral("read");
    case Verdict::Missing:
        return QStringLiteral("missing");
    case Verdict::Unreadable:
        return QStringLiteral("cannot be opened");
    case Verdict::NotRegularFile:
        return QStringLiteral("not a regular file");
    case Verdict::FileTooLarge:
        return QStringLiteral("larger than the limit of 8 MiB");
    case Verdict::PictureTooLarge:
        return QStringLiteral("picture larger than the limit of 1024 pixels a side");
    case Verdict::CutShort:
        return QStringLiteral("cut short");
    case Verdict::NotAPicture:
        return QStringLiteral("not a picture Qt can read");
    case Verdict::OutOfMemory:
        return QStringLiteral("too little memory to read it");
    }
    return {};
}

// A desktop entry's string value: escapes for backslash and control characters.
QString entryString(QString text)
{
    text.replace(QLatin1Char('\\'), QStringLiteral("\\\\"));
    text.replace(QLatin1Char('\n'), QStringLiteral("\\n"));
    text.replace(QLatin1Char('\t'), QStringLiteral("\\t"));
    text.replace(QLatin1Char('\r'), QStringLiteral("\\r"));
    return text;
}

} // namespace

QString make(const MakeOptions &options)
{
    const photo::Square photo = photo::readSquare(options.photo);
    if (photo.picture.isNull()) {
        return photo.error;
    }
    const QImage &square = photo.picture;

    if (!QDir().mkpath(options.folder)) {
        return QStringLiteral("%1: cannot create the folder").arg(options.folder);
    }
    if (!options.force) {
        for (int tile = 0; tile < 16; ++tile) {
            const QString path = tilepicture::filePath(tile, options.folder);
            if (QFileInfo::exists(path) || QFileInfo(path).isSymLink()) {
                return QStringLiteral("%1 exists; give --force to replace the tile files").arg(path);
            }
        }
    }
    // The piece whose home is cell k goes to k.bmp; the bottom-right one is
    // the gap's home and stays out.
    std::array<QImage, 16> pieces;
    pieces[0] = QImage(kPieceSide, kPieceSide, QImage::Format_RGB32);
    pieces[0].fill(QColor(192, 192, 192));
    for (int tile = 1; tile < 16; ++tile) {
        pieces.at(static_cast<std::size_t>(tile)) =
            square.copy((tile - 1) % 4 * kPieceSide, (tile - 1) / 4 * kPieceSide, kPieceSide, kPieceSide);
    }
    // All sixteen are written whole under temporary names before the first
    // is renamed into place, so a failed or interrupted run leaves no
    // half-written tile and, short of a failing rename, no partial set.
    std::array<std::unique_ptr<QSaveFile>, 16> files;
    for (int tile = 0; tile < 16; ++tile) {
        auto &file = files.at(static_cast<std::size_t>(tile));
        file = std::make_unique<QSaveFile>(tilepicture::filePath(tile, options.folder));
        // Qt writes an RGB32 picture as a plain uncompressed 24-bit bitmap.
        if (!file->open(QIODevice::WriteOnly) || !pieces.at(static_cast<std::size_t>(tile)).save(file.get(), "BMP")) {
            return QStringLiteral("%1: cannot write it (%2)").arg(file->fileName(), file->errorString());
        }
    }
    for (const auto &file : files) {
        if (!file->commit()) {
            return QStringLiteral("%1: cannot write it (%2)").arg(file->fileName(), file->errorString());
        }
    }
    return {};
}

std::array<FileReport, 16> check(const QString &folder)
{
    std::array<FileReport, 16> reports{};
    for (int tile = 0; tile < 16; ++tile) {
        const tilepicture::Loaded loaded = tilepicture::load(tilepicture::filePath(tile, folder));
        reports.at(static_cast<std::size_t>(tile)) = {loaded.verdict == tilepicture::Verdict::Read,
            QStringLiteral("%1.bmp: ").arg(tile) + verdictText(loaded.verdict)};
    }
    return reports;
}

QString writeLauncher(const QString &name, const QString &folder, QString &written)
{
    QString id;
    for (const QChar c : name) {
        id += c.isLetterOrNumber() && c.unicode() < 128 ? c.toLower() : QLatin1Char('-');
    }
    const QString applications =
        QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) + QStringLiteral("/applications");
    if (!QDir().mkpath(applications)) {
        return QStringLiteral("%1: cannot create the folder").arg(applications);
    }
    written = applications + QStringLiteral("/slidane-tiles-") + id + QStringLiteral(".desktop");
    const QString entry = QStringLiteral("[Desktop Entry]\nType=Application\nName=%1\nComment=%2\nExec=slidane\n"
                                         "Path=%3\nIcon=" SLIDANE_APP_ID "\nTerminal=false\n"
                                         "Categories=Game;LogicGame;\n")
                              .arg(entryString(name), entryString(QStringLiteral("Picture puzzle of ") + name),
                                  entryString(QDir(folder).absolutePath()));
    QSaveFile file(written);
    if (!file.open(QIODevice::WriteOnly) || file.write(entry.toUtf8()) < 0 || !file.commit()) {
        return QStringLiteral("%1: cannot write it (%2)").arg(written, file.errorString());
    }
    return {};
}

} // namespace tileset
