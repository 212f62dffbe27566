#include "folderwriter.h"

#include <QFile>

#include <cerrno>
#include <cstring>

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

const QByteArray kLockName = QByteArrayLiteral(".slidane-tiles.lock");
const QByteArray kJournalName = QByteArrayLiteral(".slidane-tiles.journal");
const QByteArray kTemporaryPrefix = QByteArrayLiteral(".slidane-tiles.");
const QByteArray kTemporarySuffix = QByteArrayLiteral(".new");
constexpr qsizetype kMaxJournalBytes = 64 * 1024;

QByteArray temporaryName(const QByteArray &name)
{
    return kTemporaryPrefix + name + kTemporarySuffix;
}

// Writes `bytes` as a new file `name` in `dir` and flushes it to the disk:
// 0 when every byte is there, else the error. O_EXCL and O_NOFOLLOW keep a
// planted link from redirecting the write.
int writeNewFile(int dir, const QByteArray &name, const QByteArray &bytes)
{
    if (::unlinkat(dir, name.constData(), 0) != 0 && errno != ENOENT) {
        return errno;
    }
    const int fd = ::openat(dir, name.constData(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
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
    if (error == 0 && ::fsync(fd) != 0) {
        error = errno;
    }
    if (::close(fd) != 0 && error == 0) {
        error = errno;
    }
    if (error != 0) {
        ::unlinkat(dir, name.constData(), 0);
    }
    return error;
}

} // namespace

FolderWriter::FolderWriter(QString folder)
    : folder_(std::move(folder))
{
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

QString FolderWriter::failure(const QString &what, int error) const
{
    return QStringLiteral("%1: %2 (%3)").arg(folder_, what, QString::fromLocal8Bit(std::strerror(error)));
}

QString FolderWriter::open(bool readOnly)
{
    dir_ = ::open(QFile::encodeName(folder_).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dir_ < 0) {
        return failure(QStringLiteral("cannot open the folder"), errno);
    }
    // A reader leaves a folder without a lock file as it is: no make ever
    // wrote there, so there is nothing to wait for or finish.
    lock_ = ::openat(dir_, kLockName.constData(), O_RDWR | O_NOFOLLOW | O_CLOEXEC | (readOnly ? 0 : O_CREAT), 0666);
    if (lock_ < 0) {
        const int error = errno;
        // Nobody can be writing here who could not open the lock file
        // either, short of another user with more rights.
        if (readOnly && (error == ENOENT || error == EACCES || error == EROFS || error == EPERM)) {
            return {};
        }
        return failure(QStringLiteral("cannot make the lock file %1").arg(QString::fromLatin1(kLockName)), error);
    }
    int locked = 0;
    do {
        locked = ::flock(lock_, LOCK_EX | LOCK_NB);
    } while (locked != 0 && errno == EINTR);
    if (locked != 0) {
        if (errno == EWOULDBLOCK) {
            return QStringLiteral("%1: another slidane-tiles is writing to this folder; try again when it has finished")
                .arg(folder_);
        }
        return failure(QStringLiteral("cannot lock the folder"), errno);
    }
    struct stat journal { };
    if (::fstatat(dir_, kJournalName.constData(), &journal, AT_SYMLINK_NOFOLLOW) == 0) {
        repaired_ = true;
        return finishJournal();
    }
    // Without a journal nothing was renamed yet: the earlier files stand, and
    // what a killed run wrote is dropped.
    removeTemporaries();
    return {};
}

QString FolderWriter::finishJournal()
{
    const int fd = ::openat(dir_, kJournalName.constData(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0) {
        return failure(QStringLiteral("cannot read the journal of an interrupted run"), errno);
    }
    QByteArray journal(kMaxJournalBytes, Qt::Uninitialized);
    const ssize_t got = ::read(fd, journal.data(), static_cast<size_t>(journal.size()));
    const int readError = errno;
    ::close(fd);
    if (got < 0) {
        return failure(QStringLiteral("cannot read the journal of an interrupted run"), readError);
    }
    journal.truncate(got);
    // Every file the journal names was complete on the disk before the
    // journal was, so the renames can always be finished.
    for (const QByteArray &name : journal.split('\n')) {
        if (name.isEmpty() || name.contains('/') || name.startsWith('.')) {
            continue;
        }
        if (::renameat(dir_, temporaryName(name).constData(), dir_, name.constData()) != 0 && errno != ENOENT) {
            return failure(
                QStringLiteral("cannot put %1 in place; the next run tries again").arg(QString::fromUtf8(name)), errno);
        }
    }
    if (!syncFolder() || ::unlinkat(dir_, kJournalName.constData(), 0) != 0 || !syncFolder()) {
        return failure(QStringLiteral("cannot finish the journal; the next run tries again"), errno);
    }
    return {};
}

void FolderWriter::removeTemporaries()
{
    const int listed = ::dup(dir_);
    DIR *entries = listed < 0 ? nullptr : ::fdopendir(listed);
    if (entries == nullptr) {
        if (listed >= 0) {
            ::close(listed);
        }
        return;
    }
    ::rewinddir(entries);
    while (const dirent *entry = ::readdir(entries)) {
        const QByteArray name(entry->d_name);
        if (name.startsWith(kTemporaryPrefix) && name.endsWith(kTemporarySuffix)) {
            ::unlinkat(dir_, entry->d_name, 0);
        }
    }
    ::closedir(entries);
}

bool FolderWriter::syncFolder()
{
    return ::fsync(dir_) == 0 || errno == EINVAL; // some file systems cannot sync a folder
}

QString FolderWriter::replace(const std::vector<std::pair<QString, QByteArray>> &files)
{
    QByteArray journal;
    for (const auto &[name, bytes] : files) {
        const QByteArray encoded = QFile::encodeName(name);
        if (const int error = writeNewFile(dir_, temporaryName(encoded), bytes); error != 0) {
            removeTemporaries();
            return failure(QStringLiteral("cannot write %1; the earlier files are unchanged").arg(name), error);
        }
        journal += encoded + '\n';
    }
    // The journal appears at once, by a rename, and only after every new
    // file is on the disk: from then on a killed run is finished, before
    // then undone.
    const QByteArray journalTemporary = temporaryName(kJournalName.mid(kTemporaryPrefix.size()));
    int error = writeNewFile(dir_, journalTemporary, journal);
    if (error == 0 && !syncFolder()) {
        error = errno;
    }
    if (error == 0 && ::renameat(dir_, journalTemporary.constData(), dir_, kJournalName.constData()) != 0) {
        error = errno;
    }
    if (error == 0 && !syncFolder()) {
        error = errno;
    }
    if (error != 0) {
        ::unlinkat(dir_, kJournalName.constData(), 0);
        removeTemporaries();
        return failure(QStringLiteral("cannot write the journal; the earlier files are unchanged"), error);
    }
    return finishJournal();
}

QString FolderWriter::replaceOne(const QString &folder, const QString &name, const QByteArray &bytes)
{
    FolderWriter writer(folder);
    writer.dir_ = ::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (writer.dir_ < 0) {
        return writer.failure(QStringLiteral("cannot open the folder"), errno);
    }
    const QByteArray encoded = QFile::encodeName(name);
    // Of the process's own, so that two runs never share one.
    const QByteArray temporary = temporaryName(encoded + '.' + QByteArray::number(::getpid()));
    int error = writeNewFile(writer.dir_, temporary, bytes);
    if (error == 0 && ::renameat(writer.dir_, temporary.constData(), writer.dir_, encoded.constData()) != 0) {
        error = errno;
        ::unlinkat(writer.dir_, temporary.constData(), 0);
    }
    if (error == 0 && !writer.syncFolder()) {
        error = errno;
    }
    return error == 0 ? QString() : writer.failure(QStringLiteral("cannot write %1").arg(name), error);
}
