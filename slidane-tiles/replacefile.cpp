#include "replacefile.h"

#include "folderlock.h"

#include <QCoreApplication>
#include <QFile>

#include <cerrno>

#include <fcntl.h>
#include <unistd.h>

QByteArray temporaryName(const QByteArray &name)
{
    return QByteArrayLiteral(".slidane-tiles.") + name + QByteArrayLiteral(".new");
}

// O_EXCL and O_NOFOLLOW keep a planted link from redirecting the write.
int writeNewFile(int dir, const QByteArray &name, const QByteArray &bytes)
{
    if (folderCalls.unlinkat(dir, name.constData(), 0) != 0 && errno != ENOENT) {
        return errno;
    }
    const int fd =
        folderCalls.openat(dir, name.constData(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
    if (fd < 0) {
        return errno;
    }
    int error = 0;
    for (qsizetype done = 0; error == 0 && done < bytes.size();) {
        const ssize_t wrote = ::write(fd, bytes.constData() + done, static_cast<size_t>(bytes.size() - done));
        if (wrote > 0) {
            done += wrote;
        } else if (wrote == 0) {
            error = ENOSPC;
        } else if (errno != EINTR) {
            error = errno;
        }
    }
    // A file system that reserves space lazily reports a full disk only here.
    if (error == 0 && folderCalls.fsync(fd) != 0) {
        error = errno;
    }
    if (::close(fd) != 0 && error == 0) {
        error = errno;
    }
    if (error != 0) {
        folderCalls.unlinkat(dir, name.constData(), 0);
    }
    return error;
}

bool syncFolder(int dir)
{
    return folderCalls.fsync(dir) == 0 || errno == EINVAL; // some file systems cannot sync a folder
}

QString replaceFile(const QString &folder, const QString &name, const QByteArray &bytes)
{
    // The lock keeps two runs off one temporary, whose name is the one every
    // run in the folder knows and removes before writing it again.
    FolderLock lock(folder);
    QString refused = lock.openFolder();
    if (refused.isEmpty()) {
        refused = lock.openFile(true);
    }
    if (refused.isEmpty()) {
        refused = lock.take(FolderLock::Exclusive);
    }
    if (!refused.isEmpty()) {
        return refused;
    }
    const int dir = lock.dir();
    const QByteArray encoded = QFile::encodeName(name);
    const QByteArray temporary = temporaryName(encoded);
    int error = writeNewFile(dir, temporary, bytes);
    if (error == 0 && folderCalls.renameat(dir, temporary.constData(), dir, encoded.constData()) != 0) {
        error = errno;
        folderCalls.unlinkat(dir, temporary.constData(), 0);
    }
    if (error != 0) {
        return lock.failure(QCoreApplication::translate("folderwriter", "cannot write %1").arg(name), error,
            QCoreApplication::translate("folderwriter", "the earlier file is unchanged"));
    }
    if (!syncFolder(dir)) {
        return lock.failure(QCoreApplication::translate("folderwriter", "cannot flush the folder"), errno,
            QCoreApplication::translate(
                "folderwriter", "%1 is in place, but a power loss may bring back the earlier one")
                .arg(name));
    }
    return {};
}
