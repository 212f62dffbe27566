#include "photofile.h"

#include "errortext.h"

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QFile>

#include <cerrno>

#include <fcntl.h>
#include <unistd.h>

namespace photo {
namespace {

QByteArray formatOf(const QByteArray &head)
{
    const auto at = [&head](
                        qsizetype offset, const char *magic) { return head.mid(offset).startsWith(QByteArray(magic)); };
    if (at(0, "\xFF\xD8\xFF")) {
        return "jpeg";
    }
    if (at(0, "\x89PNG\r\n\x1A\n")) {
        return "png";
    }
    if (at(0, "GIF87a") || at(0, "GIF89a")) {
        return "gif";
    }
    if (at(0, "BM")) {
        return "bmp";
    }
    if (at(0, "RIFF") && at(8, "WEBP")) {
        return "webp";
    }
    if (head.startsWith(QByteArray("II*\0", 4)) || head.startsWith(QByteArray("MM\0*", 4))) {
        return "tiff";
    }
    return at(4, "ftyp") ? "heif" : QByteArray();
}

bool same(const timespec &a, const timespec &b)
{
    return a.tv_sec == b.tv_sec && a.tv_nsec == b.tv_nsec;
}

} // namespace

PhotoFile::PhotoFile(const QString &path)
    : path_(path)
{
    // Not blocking, as a pipe or a device under a photo's name would.
    fd_ = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
    if (fd_ < 0) {
        problem_ = errno == ENOENT
            ? QCoreApplication::translate("photo", "%1: no such file").arg(path)
            : QCoreApplication::translate("photo", "%1: cannot open it (%2)").arg(path, errorText(errno));
        return;
    }
    if (::fstat(fd_, &opened_) != 0) {
        problem_ = QCoreApplication::translate("photo", "%1: cannot open it (%2)").arg(path, errorText(errno));
    } else if (S_ISDIR(opened_.st_mode)) {
        problem_ = QCoreApplication::translate("photo", "%1: is a folder, not a photo").arg(path);
    } else if (!S_ISREG(opened_.st_mode)) {
        problem_ = QCoreApplication::translate("photo", "%1: not a regular file").arg(path);
    } else if (opened_.st_size == 0) {
        problem_ = QCoreApplication::translate("photo", "%1: the file is empty").arg(path);
    } else {
        QByteArray head(16, '\0');
        const ssize_t got = ::pread(fd_, head.data(), static_cast<size_t>(head.size()), 0);
        head.truncate(got > 0 ? got : 0);
        format_ = formatOf(head);
    }
}

PhotoFile::~PhotoFile()
{
    if (fd_ >= 0) {
        ::close(fd_);
    }
}

QByteArray PhotoFile::sha256(QString &error) const
{
    QCryptographicHash hash(QCryptographicHash::Sha256);
    QByteArray chunk(1 << 20, Qt::Uninitialized);
    off_t offset = 0;
    for (;;) {
        const ssize_t got = ::pread(fd_, chunk.data(), static_cast<size_t>(chunk.size()), offset);
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got < 0) {
            error = QCoreApplication::translate("photo", "%1: cannot read it (%2)").arg(path_, errorText(errno));
            return {};
        }
        if (got == 0) {
            return hash.result();
        }
        hash.addData(QByteArrayView(chunk.data(), got));
        offset += got;
    }
}

QString PhotoFile::changed() const
{
    struct stat now { };
    if (::fstat(fd_, &now) != 0 || now.st_size != opened_.st_size || !same(now.st_mtim, opened_.st_mtim)
        || !same(now.st_ctim, opened_.st_ctim)) {
        return QCoreApplication::translate("photo", "%1: the file changed while it was read; open it once it is saved")
            .arg(path_);
    }
    return {};
}

} // namespace photo
