#include "tilepicture.h"

#include "bitmapreader.h"

#include <QBuffer>
#include <QByteArray>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>

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
    // Closed also when the buffer below cannot be had.
    const struct Closer {
        int fd;
        ~Closer() { ::close(fd); }
    } closer{fd};
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

} // namespace

QString filePath(int tile)
{
    return QStringLiteral("./") + QString::number(tile) + QStringLiteral(".bmp");
}

QImage decode(const QByteArray &bytes)
{
    const QSize shown(kShownSide, kShownSide);
    if (bitmapreader::isBitmap(bytes)) {
        return bitmapreader::read(bytes, kMaxSide, shown);
    }
    QBuffer buffer;
    buffer.setData(bytes);
    if (!buffer.open(QIODevice::ReadOnly)) {
        return {};
    }
    QImageReader reader(&buffer);
    // The header's claim is checked before any pixel memory is taken.
    const QSize claimed = reader.size();
    if (!claimed.isValid() || claimed.width() > kMaxSide || claimed.height() > kMaxSide || reader.format() == "bmp") {
        return {};
    }
    reader.setClipRect(QRect(QPoint(0, 0), claimed.boundedTo(shown)));
    const QImage image = reader.read();
    if (image.isNull() || image.width() > kShownSide || image.height() > kShownSide) {
        return {};
    }
    return image;
}

QImage load(const QString &path)
{
    // Running out of memory on a large file is one more way for a tile file
    // to be unreadable; the game goes on with its built-in set.
    try {
        const QByteArray bytes = readRegularFile(path);
        return bytes.isEmpty() ? QImage() : decode(bytes);
    } catch (...) {
        return {};
    }
}

} // namespace tilepicture
