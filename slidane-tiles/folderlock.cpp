#include "folderlock.h"

#include "errortext.h"

#include <QCoreApplication>
#include <QFile>

#include <cerrno>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

FolderCalls folderCalls = {
    [](int dir, const char *name, int flags, mode_t mode) { return ::openat(dir, name, flags, mode); },
    ::renameat,
    ::unlinkat,
    ::fsync,
    ::flock,
};

namespace {

const QByteArray kLockName = QByteArrayLiteral(".slidane-tiles.lock");

QString nothingChanged()
{
    return QCoreApplication::translate("folderwriter", "nothing was changed");
}

} // namespace

FolderLock::FolderLock(QString folder)
    : folder_(std::move(folder))
{
}

FolderLock::~FolderLock()
{
    if (fd_ >= 0) {
        ::close(fd_); // lets go of the lock
    }
    if (dir_ >= 0) {
        ::close(dir_);
    }
}

QString FolderLock::fileName()
{
    return QString::fromLatin1(kLockName);
}

QString FolderLock::failure(const QString &what, int error, const QString &outcome) const
{
    const QString reason = QStringLiteral("%1: %2 (%3)").arg(folder_, what, errorText(error));
    return outcome.isEmpty() ? reason : reason + QStringLiteral("; ") + outcome;
}

QString FolderLock::notAFile(const QByteArray &name) const
{
    return QCoreApplication::translate(
        "folderwriter", "%1: %2 is not a regular file; remove it while no slidane-tiles runs there")
        .arg(folder_, QString::fromLatin1(name));
}

QString FolderLock::busy() const
{
    return QCoreApplication::translate(
        "folderwriter", "%1: another slidane-tiles is using this folder; try again when it has finished")
        .arg(folder_);
}

QString FolderLock::openFolder()
{
    deadline_ = std::chrono::steady_clock::now() + kWait;
    dir_ = ::open(QFile::encodeName(folder_).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dir_ < 0) {
        return failure(QCoreApplication::translate("folderwriter", "cannot open the folder"), errno);
    }
    return {};
}

QString FolderLock::openFile(bool create)
{
    // Read-only, since flock needs no write access: a lock file that another
    // user made serves as well. O_NONBLOCK: a FIFO under the name must not
    // hold the run up.
    fd_ = folderCalls.openat(
        dir_, kLockName.constData(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC | (create ? O_CREAT : 0), 0666);
    if (fd_ < 0) {
        const int error = errno;
        if (error == ENOENT && !create) {
            return {};
        }
        if (error == ELOOP) {
            return notAFile(kLockName);
        }
        // Without a lock nothing else is safe; what to do depends on why.
        const bool denied = error == EACCES || error == EPERM;
        struct stat info { };
        if (::fstatat(dir_, kLockName.constData(), &info, AT_SYMLINK_NOFOLLOW) == 0) {
            return failure(QCoreApplication::translate("folderwriter", "cannot open the lock file %1").arg(fileName()),
                error,
                denied ? QCoreApplication::translate(
                    "folderwriter", "its owner can remove it while no slidane-tiles runs there")
                       : nothingChanged());
        }
        return failure(QCoreApplication::translate("folderwriter", "cannot make the lock file %1").arg(fileName()),
            error,
            denied ? QCoreApplication::translate(
                "folderwriter", "slidane-tiles writes only in a folder that this user may write in")
                   : nothingChanged());
    }
    struct stat info { };
    if (::fstat(fd_, &info) != 0) {
        return failure(
            QCoreApplication::translate("folderwriter", "cannot read the lock file %1").arg(fileName()), errno);
    }
    return S_ISREG(info.st_mode) ? QString() : notAFile(kLockName);
}

QString FolderLock::take(Mode mode)
{
    // A writer waits also for checks, which hold the lock for a moment.
    const int error = lock(mode == Exclusive ? LOCK_EX : LOCK_SH, true);
    return error == 0 ? QString() : lockFailure(error);
}

int FolderLock::tryExclusive()
{
    return lock(LOCK_EX, false);
}

QString FolderLock::lockFailure(int error) const
{
    return error == EWOULDBLOCK ? busy()
                                : failure(QCoreApplication::translate("folderwriter", "cannot lock the folder"), error);
}

bool FolderLock::pause() const
{
    if (std::chrono::steady_clock::now() >= deadline_) {
        return false;
    }
    ::usleep(10000 + static_cast<useconds_t>(::getpid() % 10) * 1000);
    return true;
}

int FolderLock::lock(int operation, bool wait)
{
    for (;;) {
        if (folderCalls.flock(fd_, operation | LOCK_NB) == 0) {
            return 0;
        }
        const int error = errno;
        if (error == EINTR) {
            continue;
        }
        if (error != EWOULDBLOCK || !wait || !pause()) {
            return error;
        }
    }
}
