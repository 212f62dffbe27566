#include "tilepicture.h"

#include "bitmapreader.h"

#include <QBuffer>
#include <QByteArray>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>

#include <cerrno>
#include <new>

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
Verdict readRegularFile(const QString &path, QByteArray &bytes)
{
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (fd < 0) {
        return errno == ENOENT ? Verdict::Missing : Verdict::Unreadable;
    }
    // Closed also when the buffer below cannot be had.
    const struct Closer {
        int fd;
        ~Closer() { ::close(fd); }
    } closer{fd};
    struct stat info { };
    if (::fstat(fd, &info) != 0) {
        return Verdict::Unreadable;
    }
    if (!S_ISREG(info.st_mode)) {
        return Verdict::NotRegularFile;
    }
    if (info.st_size == 0) {
        return Verdict::Empty;
    }
    if (info.st_size > kMaxFileBytes) {
        return Verdict::FileTooLarge;
    }
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
    return Verdict::Read;
}
#else
Verdict readRegularFile(const QString &path, QByteArray &bytes)
{
    const QFileInfo info(path);
    if (!info.exists()) {
        return Verdict::Missing;
    }
    if (!info.isFile()) {
        return Verdict::NotRegularFile;
    }
    if (info.size() == 0) {
        return Verdict::Empty;
    }
    if (info.size() > kMaxFileBytes) {
        return Verdict::FileTooLarge;
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        return Verdict::Unreadable;
    }
    bytes = file.read(kMaxFileBytes);
    return Verdict::Read;
}
#endif

} // namespace

QString filePath(int tile, const QString &folder)
{
    return folder + QLatin1Char('/') + QString::number(tile) + QStringLiteral(".bmp");
}

Loaded decode(const QByteArray &bytes)
{
    const QSize shown(kShownSide, kShownSide);
    if (bitmapreader::isBitmap(bytes)) {
        auto [image, outcome] = bitmapreader::read(bytes, kMaxSide, shown);
        switch (outcome) {
        case bitmapreader::Outcome::Read:
            return {image, Verdict::Read};
        case bitmapreader::Outcome::TooLarge:
            return {{}, Verdict::PictureTooLarge};
        case bitmapreader::Outcome::CutShort:
            return {{}, Verdict::CutShort};
        case bitmapreader::Outcome::OutOfMemory:
            return {{}, Verdict::OutOfMemory};
        case bitmapreader::Outcome::UnknownKind:
            break;
        }
        return {{}, Verdict::NotAPicture};
    }
    QBuffer buffer;
    buffer.setData(bytes);
    if (!buffer.open(QIODevice::ReadOnly)) {
        return {{}, Verdict::NotAPicture};
    }
    QImageReader reader(&buffer);
    // The header's claim is checked before any pixel memory is taken.
    const QSize claimed = reader.size();
    if (!claimed.isValid() || reader.format() == "bmp") {
        return {{}, Verdict::NotAPicture};
    }
    if (claimed.width() > kMaxSide || claimed.height() > kMaxSide) {
        return {{}, Verdict::PictureTooLarge};
    }
    reader.setClipRect(QRect(QPoint(0, 0), claimed.boundedTo(shown)));
    const QImage image = reader.read();
    if (image.isNull() || image.width() > kShownSide || image.height() > kShownSide) {
        return {{}, Verdict::NotAPicture};
    }
    return {image, Verdict::Read};
}

Loaded load(const QString &path)
{
    // Running out of memory on a large file is one more way for a tile file
    // to be unreadable; so is anything else a decoder throws, an image
    // format plugin's say. The game goes on with its built-in set.
    try {
        QByteArray bytes;
        const Verdict opened = readRegularFile(path, bytes);
        return opened == Verdict::Read ? decode(bytes) : Loaded{{}, opened};
    } catch (const std::bad_alloc &) {
        return {{}, Verdict::OutOfMemory};
    } catch (...) {
        return {{}, Verdict::NotAPicture};
    }
}

} // namespace tilepicture
