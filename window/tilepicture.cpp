#include "tilepicture.h"

#include <QBuffer>
#include <QByteArray>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>

#include <cstdlib>

#ifdef Q_OS_UNIX
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace tilepicture {
namespace {

#ifdef Q_OS_UNIX
// Opening without blocking keeps a named pipe with no writer from freezing
// the game; the type and size are then checked on the open file itself, so
// nothing can be swapped in between the check and the read.
QByteArray readRegularFile(const QString &path)
{
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (fd < 0) {
        return {};
    }
    QByteArray bytes;
    struct stat info { };
    if (::fstat(fd, &info) == 0 && S_ISREG(info.st_mode) && info.st_size <= kMaxFileBytes) {
        bytes.resize(static_cast<qsizetype>(info.st_size));
        qsizetype done = 0;
        while (done < bytes.size()) {
            const ssize_t got = ::read(fd, bytes.data() + done, static_cast<size_t>(bytes.size() - done));
            if (got <= 0) {
                break;
            }
            done += got;
        }
        bytes.truncate(done);
    }
    ::close(fd);
    return bytes;
}
#else
QByteArray readRegularFile(const QString &path)
{
    const QFileInfo info(path);
    if (!info.isFile() || info.size() > kMaxFileBytes) {
        return {};
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        return {};
    }
    return file.read(kMaxFileBytes);
}
#endif

quint32 littleEndian(const QByteArray &b, qsizetype at, int size)
{
    quint32 value = 0;
    for (int i = size - 1; i >= 0; --i) {
        value = value << 8 | static_cast<quint8>(b[at + i]);
    }
    return value;
}

// Qt's bitmap reader fills in what a cut-off file lacks, so an uncompressed
// bitmap whose rows run past the end of the file is refused here.
bool bitmapRowsPresent(const QByteArray &b)
{
    if (b.size() < 26) {
        return false;
    }
    const quint32 headerSize = littleEndian(b, 14, 4);
    qint64 width = 0;
    qint64 height = 0;
    quint32 bits = 0;
    quint32 compression = 0;
    if (headerSize == 12) {
        width = littleEndian(b, 18, 2);
        height = littleEndian(b, 20, 2);
        bits = littleEndian(b, 24, 2);
    } else if (headerSize >= 40 && b.size() >= 34) {
        width = static_cast<qint32>(littleEndian(b, 18, 4));
        height = static_cast<qint32>(littleEndian(b, 22, 4));
        bits = littleEndian(b, 28, 2);
        compression = littleEndian(b, 30, 4);
    } else {
        return false;
    }
    constexpr quint32 kRgb = 0, kBitFields = 3, kAlphaBitFields = 6;
    if (compression != kRgb && compression != kBitFields && compression != kAlphaBitFields) {
        return true; // run-length rows have no fixed size; the reader checks them
    }
    const qint64 stride = (std::abs(width) * bits + 31) / 32 * 4;
    return littleEndian(b, 10, 4) + stride * std::abs(height) <= b.size();
}

} // namespace

QString filePath(int tile)
{
    return QStringLiteral("./") + QString::number(tile) + QStringLiteral(".bmp");
}

QImage decode(const QByteArray &bytes)
{
    QBuffer buffer;
    buffer.setData(bytes);
    if (!buffer.open(QIODevice::ReadOnly)) {
        return {};
    }
    QImageReader reader(&buffer);
    // The header's claim is checked before any pixel memory is taken.
    const QSize claimed = reader.size();
    if (!claimed.isValid() || claimed.width() > kMaxSide || claimed.height() > kMaxSide) {
        return {};
    }
    if (reader.format() == "bmp" && !bitmapRowsPresent(bytes)) {
        return {};
    }
    QImage image = reader.read();
    if (image.isNull() || image.width() > kMaxSide || image.height() > kMaxSide) {
        return {};
    }
    return image;
}

QImage load(const QString &path)
{
    const QByteArray bytes = readRegularFile(path);
    return bytes.isEmpty() ? QImage() : decode(bytes);
}

} // namespace tilepicture
