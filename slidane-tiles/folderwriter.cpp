#include "folderwriter.h"

#include "errortext.h"

#include <QCoreApplication>
#include <QFile>

#include <cerrno>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

FolderWriter::Calls FolderWriter::calls = {
    [](int dir, const char *name, int flags, mode_t mode) { return ::openat(dir, name, flags, mode); },
    ::renameat,
    ::unlinkat,
    ::fsync,
};

namespace {

const QByteArray kLockName = QByteArrayLiteral(".slidane-tiles.lock");
const QByteArray kJournalName = QByteArrayLiteral(".slidane-tiles.journal");
const QByteArray kTemporaryPrefix = QByteArrayLiteral(".slidane-tiles.");
const QByteArray kTemporarySuffix = QByteArrayLiteral(".new");
const QByteArray kJournalTemporary = QByteArrayLiteral(".slidane-tiles.journal.new");
constexpr qsizetype kMaxJournalBytes = 64 * 1024;

QString unchanged()
{
    return QCoreApplication::translate("folderwriter", "the earlier files are unchanged");
}

QString finishedLater()
{
    return QCoreApplication::translate("folderwriter",
        "the folder holds part of the new set until a later make or check in it puts the rest in place");
}

QByteArray temporaryName(const QByteArray &name)
{
    return kTemporaryPrefix + name + kTemporarySuffix;
}

// Writes `bytes` as a new file `name` in `dir` and flushes it to the disk:
// 0 when every byte is there, else the error. O_EXCL and O_NOFOLLOW keep a
// planted link from redirecting the write.
int writeNewFile(int dir, const QByteArray &name, const QByteArray &bytes)
{
    const FolderWriter::Calls &calls = FolderWriter::calls;
    if (calls.unlinkat(dir, name.constData(), 0) != 0 && errno != ENOENT) {
        return errno;
    }
    const int fd = calls.openat(dir, name.constData(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
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
    if (error == 0 && calls.fsync(fd) != 0) {
        error = errno;
    }
    if (::close(fd) != 0 && error == 0) {
        error = errno;
    }
    if (error != 0) {
        calls.unlinkat(dir, name.constData(), 0);
    }
    return error;
}

} // namespace

FolderWriter::FolderWriter(QString folder, QStringList names)
    : folder_(std::move(folder))
{
    for (const QString &name : names) {
        names_.append(QFile::encodeName(name));
    }
}

FolderWriter::~FolderWriter()
{
    if (lock_ >= 0) {
        ::close(lock_); // releases the lock
    }
    if (dir_ >= 0) {
        ::close(dir_);
    }
}

QString FolderWriter::lockFileName()
{
    return QString::fromLatin1(kLockName);
}

QString FolderWriter::failure(const QString &what, int error, const QString &outcome) const
{
    const QString reason = QStringLiteral("%1: %2 (%3)").arg(folder_, what, errorText(error));
    return outcome.isEmpty() ? reason : reason + QStringLiteral("; ") + outcome;
}

QString FolderWriter::notAFile(const QByteArray &name) const
{
    return QCoreApplication::translate(
        "folderwriter", "%1: %2 is not a regular file; remove it while no slidane-tiles runs there")
        .arg(folder_, QString::fromLatin1(name));
}

QString FolderWriter::busy() const
{
    return QCoreApplication::translate(
        "folderwriter", "%1: another slidane-tiles is using this folder; try again when it has finished")
        .arg(folder_);
}

QString FolderWriter::open(bool readOnly)
{
    deadline_ = std::chrono::steady_clock::now() + kLockWait;
    dir_ = ::open(QFile::encodeName(folder_).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dir_ < 0) {
        return failure(QCoreApplication::translate("folderwriter", "cannot open the folder"), errno);
    }
    if (!readOnly) {
        if (const QString error = openLock(true); !error.isEmpty()) {
            return error;
        }
        // Waits also for checks, which hold the lock for a moment.
        if (const int error = lock(LOCK_EX, true); error != 0) {
            return error == EWOULDBLOCK
                ? busy()
                : failure(QCoreApplication::translate("folderwriter", "cannot lock the folder"), error);
        }
        return recover();
    }
    if (const QString error = openLock(false); !error.isEmpty()) {
        return error;
    }
    if (lock_ < 0) {
        // Every writer makes the lock file before anything else, so where
        // there is none nothing was ever written, unless someone removed it
        // beside a journal.
        int journal = -1;
        if (const QString error = openJournal(journal); !error.isEmpty() || journal < 0) {
            return error;
        }
        ::close(journal);
        if (const QString error = openLock(true); !error.isEmpty()) {
            return error;
        }
    }
    for (;;) {
        if (const int error = lock(LOCK_SH, true); error != 0) {
            return error == EWOULDBLOCK
                ? busy()
                : failure(QCoreApplication::translate("folderwriter", "cannot lock the folder"), error);
        }
        int journal = -1;
        if (const QString error = openJournal(journal); !error.isEmpty()) {
            return error;
        }
        if (journal < 0) {
            removeTemporaries();
            return {};
        }
        ::close(journal);
        // Only a run that holds the lock alone may finish a journal. Turning
        // a shared lock into that lets go of it first, so two readers that
        // both try never wait for each other: one wins, the other tries again.
        const int error = lock(LOCK_EX, false);
        if (error == 0) {
            return recover();
        }
        if (error != EWOULDBLOCK) {
            return failure(QCoreApplication::translate("folderwriter", "cannot lock the folder"), error);
        }
        if (std::chrono::steady_clock::now() >= deadline_) {
            return busy();
        }
        ::usleep(10000 + static_cast<useconds_t>(::getpid() % 10) * 1000);
    }
}

QString FolderWriter::openLock(bool create)
{
    // Read-only, since flock needs no write access: a lock file that another
    // user made serves as well. O_NONBLOCK: a FIFO under the name must not
    // hold the run up.
    lock_ = calls.openat(
        dir_, kLockName.constData(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC | (create ? O_CREAT : 0), 0666);
    if (lock_ < 0) {
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
            return failure(QCoreApplication::translate("folderwriter", "cannot open the lock file %1")
                               .arg(QString::fromLatin1(kLockName)),
                error,
                denied ? QCoreApplication::translate(
                    "folderwriter", "its owner can remove it while no slidane-tiles runs there")
                       : QCoreApplication::translate("folderwriter", "nothing was changed"));
        }
        return failure(QCoreApplication::translate("folderwriter", "cannot make the lock file %1")
                           .arg(QString::fromLatin1(kLockName)),
            error,
            denied ? QCoreApplication::translate(
                "folderwriter", "slidane-tiles writes only in a folder that this user may write in")
                   : QCoreApplication::translate("folderwriter", "nothing was changed"));
    }
    struct stat info { };
    if (::fstat(lock_, &info) != 0) {
        return failure(QCoreApplication::translate("folderwriter", "cannot read the lock file %1")
                           .arg(QString::fromLatin1(kLockName)),
            errno);
    }
    return S_ISREG(info.st_mode) ? QString() : notAFile(kLockName);
}

int FolderWriter::lock(int operation, bool wait)
{
    for (;;) {
        if (::flock(lock_, operation | LOCK_NB) == 0) {
            return 0;
        }
        const int error = errno;
        if (error == EINTR) {
            continue;
        }
        if (error != EWOULDBLOCK || !wait || std::chrono::steady_clock::now() >= deadline_) {
            return error;
        }
        ::usleep(10000 + static_cast<useconds_t>(::getpid() % 10) * 1000);
    }
}

QString FolderWriter::openJournal(int &fd) const
{
    // O_NONBLOCK: a FIFO under the name must not hold the run up.
    fd = calls.openat(dir_, kJournalName.constData(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC, 0);
    if (fd < 0) {
        // Only "no such file" means there is none: after any other error a
        // journal may still need the new files, so nothing may be removed.
        const int error = errno;
        if (error == ENOENT) {
            return {};
        }
        return error == ELOOP
            ? notAFile(kJournalName)
            : failure(QCoreApplication::translate("folderwriter", "cannot look for the journal of an interrupted run"),
                error, QCoreApplication::translate("folderwriter", "nothing was changed"));
    }
    struct stat info { };
    const bool statted = ::fstat(fd, &info) == 0;
    const int error = errno;
    if (statted && S_ISREG(info.st_mode)) {
        return {};
    }
    ::close(fd);
    fd = -1;
    return statted
        ? notAFile(kJournalName)
        : failure(QCoreApplication::translate("folderwriter", "cannot look for the journal of an interrupted run"),
            error, QCoreApplication::translate("folderwriter", "nothing was changed"));
}

QString FolderWriter::recover()
{
    int fd = -1;
    if (const QString error = openJournal(fd); !error.isEmpty()) {
        return error;
    }
    if (fd < 0) {
        // Without a journal nothing was renamed yet: the earlier files stand,
        // and what a killed run wrote is dropped.
        removeTemporaries();
        return {};
    }
    QByteArray journal(kMaxJournalBytes, Qt::Uninitialized);
    qsizetype got = 0;
    int error = 0;
    while (error == 0 && got < journal.size()) {
        const ssize_t read = ::read(fd, journal.data() + got, static_cast<size_t>(journal.size() - got));
        if (read > 0) {
            got += read;
        } else if (read == 0) {
            break;
        } else if (errno != EINTR) {
            error = errno;
        }
    }
    ::close(fd);
    if (error != 0) {
        return failure(QCoreApplication::translate("folderwriter", "cannot read the journal of an interrupted run"),
            error, finishedLater());
    }
    journal.truncate(got);
    repaired_ = true;
    return finish(journal.split('\n'));
}

QString FolderWriter::finish(const QList<QByteArray> &names)
{
    // Every file the journal names was complete on the disk before the
    // journal was, so the renames can always be finished; a temporary that
    // is gone was put in place before. Lines that are not the writer's own
    // names (a path, a dot file) are no work of its own and left alone.
    for (const QByteArray &name : names) {
        if (!names_.contains(name)) {
            continue;
        }
        if (calls.renameat(dir_, temporaryName(name).constData(), dir_, name.constData()) != 0 && errno != ENOENT) {
            const int error = errno;
            return failure(
                QCoreApplication::translate("folderwriter", "cannot put %1 in place").arg(QFile::decodeName(name)),
                error, finishedLater());
        }
    }
    if (!syncFolder()) {
        return failure(QCoreApplication::translate("folderwriter", "cannot flush the folder"), errno, finishedLater());
    }
    if (calls.unlinkat(dir_, kJournalName.constData(), 0) != 0 && errno != ENOENT) {
        return failure(
            QCoreApplication::translate("folderwriter", "cannot remove the journal"), errno, finishedLater());
    }
    // The renames are on the disk already; a journal that a lost flush
    // brings back finds nothing left to rename.
    syncFolder();
    return {};
}

QString FolderWriter::undo(const QString &what, int error, bool journalWritten)
{
    if (journalWritten) {
        if (calls.unlinkat(dir_, kJournalName.constData(), 0) != 0 && errno != ENOENT) {
            return failure(what, error,
                QCoreApplication::translate("folderwriter",
                    "the earlier files are unchanged until a later make or check in this folder puts the new set in "
                    "place"));
        }
        // A journal that came back after a power loss without its files
        // would finish part of the set, so they go only once it is gone on
        // the disk; until then they are harmless, and the next run drops them.
        if (!syncFolder()) {
            return failure(what, error, unchanged());
        }
    }
    removeTemporaries();
    syncFolder(); // a temporary that comes back is dropped by the next run
    return failure(what, error, unchanged());
}

void FolderWriter::removeTemporaries()
{
    for (const QByteArray &name : names_) {
        calls.unlinkat(dir_, temporaryName(name).constData(), 0);
    }
    calls.unlinkat(dir_, kJournalTemporary.constData(), 0);
}

bool FolderWriter::syncFolder()
{
    return calls.fsync(dir_) == 0 || errno == EINVAL; // some file systems cannot sync a folder
}

QString FolderWriter::replace(const std::vector<std::pair<QString, QByteArray>> &files)
{
    QList<QByteArray> names;
    QByteArray journal;
    for (const auto &[name, bytes] : files) {
        const QByteArray encoded = QFile::encodeName(name);
        Q_ASSERT(names_.contains(encoded));
        if (const int error = writeNewFile(dir_, temporaryName(encoded), bytes); error != 0) {
            return undo(QCoreApplication::translate("folderwriter", "cannot write %1").arg(name), error, false);
        }
        names.append(encoded);
        journal += encoded + '\n';
    }
    // The journal appears at once, by a rename, and only after every new
    // file is on the disk: from then on a killed run is finished, before
    // then undone.
    int error = writeNewFile(dir_, kJournalTemporary, journal);
    if (error == 0 && !syncFolder()) {
        error = errno;
    }
    if (error != 0) {
        return undo(QCoreApplication::translate("folderwriter", "cannot write the journal"), error, false);
    }
    // A rename that failed may still have happened.
    if (calls.renameat(dir_, kJournalTemporary.constData(), dir_, kJournalName.constData()) != 0 || !syncFolder()) {
        const int error = errno;
        return undo(QCoreApplication::translate("folderwriter", "cannot put the journal in place"), error, true);
    }
    return finish(names);
}

QString FolderWriter::replaceOne(const QString &folder, const QString &name, const QByteArray &bytes)
{
    FolderWriter writer(folder, {name});
    writer.dir_ = ::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (writer.dir_ < 0) {
        return writer.failure(QCoreApplication::translate("folderwriter", "cannot open the folder"), errno);
    }
    const QByteArray encoded = QFile::encodeName(name);
    // Of the process's own, so that two runs never share one.
    const QByteArray temporary = temporaryName(encoded + '.' + QByteArray::number(::getpid()));
    int error = writeNewFile(writer.dir_, temporary, bytes);
    if (error == 0 && calls.renameat(writer.dir_, temporary.constData(), writer.dir_, encoded.constData()) != 0) {
        error = errno;
        calls.unlinkat(writer.dir_, temporary.constData(), 0);
        writer.syncFolder(); // no later run knows this name to remove it
    }
    if (error == 0 && !writer.syncFolder()) {
        error = errno;
    }
    return error == 0 ? QString()
                      : writer.failure(QCoreApplication::translate("folderwriter", "cannot write %1").arg(name), error);
}
