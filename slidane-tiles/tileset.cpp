#include "tileset.h"

#include "errortext.h"
#include "folderlock.h"
#include "folderreadlock.h"
#include "folderwriter.h"
#include "tilepicture.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QHash>
#include <QImage>
#include <QRandomGenerator>
#include <QtEndian>

#include <cerrno>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace tileset {
namespace {

QString verdictText(tilepicture::Verdict verdict)
{
    using tilepicture::Verdict;
    switch (verdict) {
    case Verdict::Read:
        return QCoreApplication::translate("tileset", "read");
    case Verdict::Missing:
        return QCoreApplication::translate("tileset", "missing");
    case Verdict::Unreadable:
        return QCoreApplication::translate("tileset", "cannot be opened");
    case Verdict::NotRegularFile:
        return QCoreApplication::translate("tileset", "not a regular file");
    case Verdict::Empty:
        return QCoreApplication::translate("tileset", "empty");
    case Verdict::FileTooLarge:
        return QCoreApplication::translate("tileset", "larger than the limit of 8 MiB");
    case Verdict::PictureTooLarge:
        return QCoreApplication::translate("tileset", "picture larger than the limit of 1024 pixels a side");
    case Verdict::CutShort:
        return QCoreApplication::translate("tileset", "cut short");
    case Verdict::NotAPicture:
        return QCoreApplication::translate("tileset", "not a picture Qt can read");
    case Verdict::OutOfMemory:
        return QCoreApplication::translate("tileset", "too little memory to read it");
    }
    return {};
}

// A set's stamp, the same random number in all sixteen files of one make,
// sits in the bitmap file header's two reserved fields, which readers skip.
constexpr qsizetype kStampAt = 6;

QString tilesForce()
{
    return QCoreApplication::translate("tileset", "give --force to replace the tile files");
}

// The stamp of a bitmap that a make wrote, or 0 for any other file: a
// bitmap made elsewhere has zeros there, a PNG or JPEG named k.bmp other
// bytes, and neither belongs to any set.
quint32 stampOf(const QString &path)
{
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        return 0;
    }
    char head[kStampAt + 4];
    const ssize_t got = ::read(fd, head, sizeof head);
    ::close(fd);
    if (got != static_cast<ssize_t>(sizeof head) || head[0] != 'B' || head[1] != 'M') {
        return 0;
    }
    return qFromLittleEndian<quint32>(head + kStampAt);
}

// The names make writes, and the only ones its writer may touch.
QStringList tileNames()
{
    QStringList names;
    for (int tile = 0; tile < 16; ++tile) {
        names << QStringLiteral("%1.bmp").arg(tile);
    }
    return names;
}

// Makes `folder` and any parents it lacks, as mkdir -p does, and adds those
// it made to `created`; an empty result means it is there, else the reason
// with its cause.
QString makeFolder(const QString &folder, QStringList &created)
{
    const QByteArray path = QFile::encodeName(folder);
    struct stat info { };
    for (qsizetype end = path.indexOf('/', 1);; end = path.indexOf('/', end + 1)) {
        const QByteArray part = end < 0 ? path : path.left(end);
        if (::stat(part.constData(), &info) != 0) {
            const bool made = errno == ENOENT && ::mkdir(part.constData(), 0777) == 0;
            if (made) {
                created << QFile::decodeName(part);
            }
            if ((!made && errno != EEXIST) || ::stat(part.constData(), &info) != 0) {
                return QCoreApplication::translate("tileset", "%1: cannot create the folder (%2)")
                    .arg(QFile::decodeName(part), errorText(errno));
            }
        }
        if (!S_ISDIR(info.st_mode)) {
            return QCoreApplication::translate("tileset", "%1: not a folder").arg(QFile::decodeName(part));
        }
        if (end < 0) {
            return {};
        }
    }
}

// Why a folder cannot be checked at all, or nothing.
QString folderProblem(const QString &folder)
{
    struct stat info { };
    if (::stat(QFile::encodeName(folder).constData(), &info) != 0) {
        if (errno == ENOENT) {
            return QCoreApplication::translate("tileset", "%1: no such folder").arg(folder);
        }
        if (errno == ENOTDIR) {
            return QCoreApplication::translate("tileset", "%1: not a folder").arg(folder);
        }
        return QCoreApplication::translate("tileset", "%1: cannot be read (%2)").arg(folder, errorText(errno));
    }
    if (!S_ISDIR(info.st_mode)) {
        return QCoreApplication::translate("tileset", "%1: not a folder").arg(folder);
    }
    if (::access(QFile::encodeName(folder).constData(), R_OK | X_OK) != 0) {
        return QCoreApplication::translate("tileset", "%1: cannot be read (%2)").arg(folder, errorText(errno));
    }
    return {};
}

} // namespace

QString replaceable(const QString &path, bool force, const QString &forceHint)
{
    struct stat info { };
    if (::lstat(QFile::encodeName(path).constData(), &info) != 0) {
        return errno == ENOENT ? QString() : QStringLiteral("%1: %2").arg(path, errorText(errno));
    }
    if (!S_ISREG(info.st_mode) && !S_ISLNK(info.st_mode)) {
        return QCoreApplication::translate("tileset", "%1 exists and is not a file; it is not replaced").arg(path);
    }
    return force ? QString() : QCoreApplication::translate("tileset", "%1 exists; %2").arg(path, forceHint);
}

namespace {

// The sixteen files of `square`, each a bitmap with the set's stamp; empty
// with the reason in `error` when one cannot be encoded.
std::vector<std::pair<QString, QByteArray>> tileFiles(const QImage &square, QString &error)
{
    // The piece whose home is cell k goes to k.bmp; the bottom-right one is
    // the gap's home and stays out.
    std::array<QImage, 16> pieces;
    pieces[0] = QImage(kPieceSide, kPieceSide, QImage::Format_RGB32);
    pieces[0].fill(QColor(192, 192, 192));
    for (int tile = 1; tile < 16; ++tile) {
        pieces.at(static_cast<std::size_t>(tile)) =
            square.copy((tile - 1) % 4 * kPieceSide, (tile - 1) / 4 * kPieceSide, kPieceSide, kPieceSide);
    }
    quint32 stamp = 0;
    while (stamp == 0) {
        stamp = QRandomGenerator::system()->generate();
    }
    std::vector<std::pair<QString, QByteArray>> files;
    for (int tile = 0; tile < 16; ++tile) {
        QByteArray bytes;
        QBuffer buffer(&bytes);
        // Qt writes an RGB32 picture as a plain uncompressed 24-bit bitmap.
        if (!buffer.open(QIODevice::WriteOnly) || !pieces.at(static_cast<std::size_t>(tile)).save(&buffer, "BMP")
            || bytes.size() < kStampAt + 4) {
            error = QCoreApplication::translate("tileset", "%1.bmp: cannot encode the bitmap").arg(tile);
            return {};
        }
        qToLittleEndian(stamp, bytes.data() + kStampAt);
        files.emplace_back(QStringLiteral("%1.bmp").arg(tile), bytes);
    }
    return files;
}

QString writeSet(FolderLock &lock, const MakeOptions &options, const QImage &square)
{
    FolderWriter writer(lock, tileNames());
    if (const QString error = writer.open(); !error.isEmpty()) {
        return error;
    }
    for (int tile = 0; tile < 16; ++tile) {
        if (const QString error = replaceable(tilepicture::filePath(tile, options.folder), options.force, tilesForce());
            !error.isEmpty()) {
            return error;
        }
    }
    QString error;
    const auto files = tileFiles(square, error);
    return files.empty() ? error : writer.replace(files);
}

} // namespace

QString make(const QImage &square, const MakeOptions &options)
{
    QStringList created;
    if (const QString error = makeFolder(options.folder, created); !error.isEmpty()) {
        return error;
    }
    FolderLock lock(options.folder);
    const QString error = writeSet(lock, options, square);
    if (!error.isEmpty()) {
        // Under the lock, so that no other run takes a folder on the way out.
        lock.removeWithFolders(created);
    }
    return error;
}

CheckReport check(const QString &folder)
{
    CheckReport report;
    report.folderProblem = folderProblem(folder);
    if (!report.folderProblem.isEmpty()) {
        return report;
    }
    // Taking the lock waits for a running make and finishes a killed one.
    FolderReadLock lock(folder, tileNames());
    if (const QString error = lock.take(); !error.isEmpty()) {
        report.folderProblem = error;
        return report;
    }
    report.repaired = lock.repaired();
    std::array<quint32, 16> stamps{};
    bool allRead = true;
    for (int tile = 0; tile < 16; ++tile) {
        const QString path = tilepicture::filePath(tile, folder);
        const tilepicture::Loaded loaded = tilepicture::load(path);
        const bool read = loaded.verdict == tilepicture::Verdict::Read;
        report.files.at(static_cast<std::size_t>(tile)) = {
            read, QStringLiteral("%1.bmp: ").arg(tile) + verdictText(loaded.verdict)};
        allRead = allRead && read;
        stamps.at(static_cast<std::size_t>(tile)) = read ? stampOf(path) : 0;
    }
    // The set is the stamp most stamped files carry. Files of no make carry
    // none and are compared with nothing: the game shows them all the same.
    if (allRead) {
        QHash<quint32, int> counts;
        quint32 common = 0;
        for (const quint32 stamp : stamps) {
            if (stamp != 0 && ++counts[stamp] > counts.value(common)) {
                common = stamp;
            }
        }
        for (int tile = 0; tile < 16; ++tile) {
            const quint32 stamp = stamps.at(static_cast<std::size_t>(tile));
            if (stamp != 0 && stamp != common) {
                report.strays << QStringLiteral("%1.bmp").arg(tile);
            }
        }
    }
    return report;
}

} // namespace tileset
