#include "folderlock.h"

#include "errortext.h"

#include <QCoreApplication>
#include <QFile>
#include <QRandomGenerator>

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
    // For writing, since on NFS flock is a byte-range lock, which a writer
    // can have only on a file open for writing. Read-only where this user
    // may not write the file (another user's lock file serves as well where
    // the file system allows it) or not write there at all, as a check in
    // a folder it only reads. O_NONBLOCK: a FIFO under the name must not
    // hold the run up.
    const int flags = O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC | (create ? O_CREAT : 0);
    fd_ = folderCalls.openat(dir_, kLockName.constData(), O_RDWR | flags, 0666);
    readOnly_ = fd_ < 0 && (errno == EACCES || errno == EPERM || errno == EROFS);
    if (readOnly_) {
        fd_ = folderCalls.openat(dir_, kLockName.constData(), O_RDONLY | flags, 0666);
    }
    if (fd_ < 0) {
        const int error = errno;
        return error == ENOENT && !create ? QString() : openFailure(error);
    }
    struct stat info { };
    if (::fstat(fd_, &info) != 0) {
        return failure(
            QCoreApplication::translate("folderwriter", "cannot read the lock file %1").arg(fileName()), errno);
    }
    return S_ISREG(info.st_mode) ? QString() : notAFile(kLockName);
}

QString FolderLock::openFailure(int error) const
{
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
    return failure(QCoreApplication::translate("folderwriter", "cannot make the lock file %1").arg(fileName()), error,
        denied ? QCoreApplication::translate(
            "folderwriter", "slidane-tiles writes only in a folder that this user may write in")
               : nothingChanged());
}

QString FolderLock::take(Mode mode)
{
    for (;;) {
        if (fd_ < 0) {
            if (const QString error = openFile(true); !error.isEmpty()) {
                return error;
            }
        }
        // A writer waits also for checks, which hold the lock for a moment.
        if (const int error = lock(mode == Exclusive ? LOCK_EX : LOCK_SH, true); error != 0) {
            return lockFailure(error);
        }
        if (heldAtPath()) {
            held_ = true;
            return {};
        }
    }
}

int FolderLock::tryExclusive()
{
    if (const int error = lock(LOCK_EX, false); error != 0) {
        return error;
    }
    if (!heldAtPath()) {
        return EWOULDBLOCK; // take() locks the file at the path
    }
    held_ = true;
    return 0;
}

bool FolderLock::heldAtPath()
{
    // A make that fails in a folder it made removes the lock file with the
    // folder, under the lock. A run that waited on the file then holds a
    // lock that no later run sees, and must take it again on the file at
    // the path; so must one whose file someone else removed.
    struct stat held {
    }, named{};
    if (::fstat(fd_, &held) == 0 && held.st_nlink > 0
        && ::fstatat(dir_, kLockName.constData(), &named, AT_SYMLINK_NOFOLLOW) == 0 && held.st_dev == named.st_dev
        && held.st_ino == named.st_ino) {
        return true;
    }
    ::close(fd_);
    fd_ = -1;
    return false;
}

void FolderLock::removeWithFolders(const QStringList &created)
{
    if (!held_ || created.isEmpty()) {
        return; // a folder that was there before keeps its lock file
    }
    // Whoever waits on this file finds it gone once it has the lock.
    folderCalls.unlinkat(dir_, kLockName.constData(), 0);
    for (auto folder = created.rbegin(); folder != created.rend(); ++folder) {
        ::rmdir(QFile::encodeName(*folder).constData()); // fails where anything else is left
    }
}

QString FolderLock::lockFailure(int error) const
{
    if (error == EWOULDBLOCK) {
        return busy();
    }
    const QString what = QCoreApplication::translate("folderwriter", "cannot lock the folder");
    if (error == EBADF && readOnly_) {
        return failure(what, error,
            QCoreApplication::translate("folderwriter",
                "this user may only read the lock file %1, and this file system locks a file only for a user "
                "who may write it; the lock file's owner can remove it while no slidane-tiles runs there")
                .arg(fileName()));
    }
    return failure(what, error);
}

bool FolderLock::pause() const
{
    if (std::chrono::steady_clock::now() >= deadline_) {
        return false;
    }
    // At random, so that two runs that missed each other once do not again.
    ::usleep(static_cast<useconds_t>(QRandomGenerator::global()->bounded(5000, 20000)));
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
