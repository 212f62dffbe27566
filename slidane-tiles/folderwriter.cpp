#include "folderwriter.h"

#include "folderlock.h"
#include "replacefile.h"

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QFile>

#include <cerrno>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

const QByteArray kJournalName = QByteArrayLiteral(".slidane-tiles.journal");
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

// A journal line: the hash of the new file, a space, and its name. The hash
// tells, once the temporary is gone, whether the file in place is the new one.
QByteArray journalLine(const QByteArray &name, const QByteArray &bytes)
{
    return QCryptographicHash::hash(bytes, QCryptographicHash::Sha256).toHex() + ' ' + name + '\n';
}

constexpr qsizetype kHashDigits = 64;

// Whether the file `name` in `dir` is the one whose hash is `hash`.
bool hashesTo(int dir, const QByteArray &name, const QByteArray &hash)
{
    const int fd = folderCalls.openat(dir, name.constData(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC, 0);
    QFile file;
    if (fd < 0 || !file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        if (fd >= 0) {
            ::close(fd);
        }
        return false;
    }
    QCryptographicHash content(QCryptographicHash::Sha256);
    return !hash.isEmpty() && content.addData(&file) && file.error() == QFileDevice::NoError
        && content.result().toHex() == hash;
}

QString nothingChanged()
{
    return QCoreApplication::translate("folderwriter", "nothing was changed");
}

} // namespace

FolderWriter::FolderWriter(FolderLock &lock, const QStringList &names)
    : lock_(lock)
{
    for (const QString &name : names) {
        names_.append(QFile::encodeName(name));
    }
}

QString FolderWriter::open()
{
    if (const QString error = lock_.openFolder(); !error.isEmpty()) {
        return error;
    }
    if (const QString error = lock_.openFile(true); !error.isEmpty()) {
        return error;
    }
    if (const QString error = lock_.take(FolderLock::Exclusive); !error.isEmpty()) {
        return error;
    }
    return recover();
}

QString FolderWriter::findJournal(bool &found) const
{
    int fd = -1;
    const QString error = openJournal(fd);
    found = fd >= 0;
    if (found) {
        ::close(fd);
    }
    return error;
}

QString FolderWriter::openJournal(int &fd) const
{
    // O_NONBLOCK: a FIFO under the name must not hold the run up.
    fd = folderCalls.openat(lock_.dir(), kJournalName.constData(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC, 0);
    if (fd < 0) {
        // Only "no such file" means there is none: after any other error a
        // journal may still need the new files, so nothing may be removed.
        const int error = errno;
        if (error == ENOENT) {
            return {};
        }
        return error == ELOOP ? lock_.notAFile(kJournalName)
                              : lock_.failure(QCoreApplication::translate(
                                                  "folderwriter", "cannot look for the journal of an interrupted run"),
                                  error, nothingChanged());
    }
    struct stat info { };
    const bool statted = ::fstat(fd, &info) == 0;
    const int error = errno;
    if (statted && S_ISREG(info.st_mode)) {
        return {};
    }
    ::close(fd);
    fd = -1;
    return statted ? lock_.notAFile(kJournalName)
                   : lock_.failure(
                       QCoreApplication::translate("folderwriter", "cannot look for the journal of an interrupted run"),
                       error, nothingChanged());
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
        dropTemporaries();
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
        return lock_.failure(
            QCoreApplication::translate("folderwriter", "cannot read the journal of an interrupted run"), error,
            QCoreApplication::translate("folderwriter",
                "the folder may hold part of the new set until a later make or check in it can read the journal"));
    }
    journal.truncate(got);
    repaired_ = true;
    return finish(journal.split('\n'));
}

QString FolderWriter::finish(const QList<QByteArray> &lines)
{
    // Every file the journal names was complete on the disk before the
    // journal was, so the renames can always be finished. Lines that are not
    // the writer's own names (a path, a dot file) are no work of its own and
    // left alone.
    for (const QByteArray &line : lines) {
        // A line of 1.0.0's journals is the bare name: its renames are
        // finished all the same, but with no hash a missing temporary cannot
        // be told renamed.
        const bool hashed = line.size() > kHashDigits && line.at(kHashDigits) == ' ';
        const QByteArray name = hashed ? line.mid(kHashDigits + 1) : line;
        if (!names_.contains(name)) {
            continue;
        }
        const QByteArray hash = hashed ? line.left(kHashDigits) : QByteArray();
        if (const QString error = putInPlace(name, hash); !error.isEmpty()) {
            return error;
        }
    }
    if (!syncFolder(lock_.dir())) {
        return lock_.failure(QCoreApplication::translate("folderwriter", "cannot flush the folder"), errno,
            QCoreApplication::translate("folderwriter",
                "a power loss may bring back part of the earlier set until a later make or check in it finishes"));
    }
    if (folderCalls.unlinkat(lock_.dir(), kJournalName.constData(), 0) != 0 && errno != ENOENT) {
        return lock_.failure(QCoreApplication::translate("folderwriter", "cannot remove the journal"), errno,
            QCoreApplication::translate("folderwriter",
                "the new set is in place, and a later make or check in this folder removes the journal"));
    }
    // The renames are on the disk already; a journal that a lost flush
    // brings back finds nothing left to rename.
    syncFolder(lock_.dir());
    return {};
}

// A temporary that is gone was put in place before, unless what is in place
// says otherwise; either way, no run can finish the journal.
QString FolderWriter::notRenamed(const QString &file, const QByteArray &hash) const
{
    const QString journal = QString::fromLatin1(kJournalName);
    return hash.isEmpty() ? QCoreApplication::translate("folderwriter",
               "its new file is gone, and a journal of version 1.0.0 cannot tell whether %1 is the new one; remove %2 "
               "and make the set again")
                                .arg(file, journal)
                          : QCoreApplication::translate("folderwriter",
                              "its new file is gone and %1 is not the new one; remove %2 and make the set again")
                                .arg(file, journal);
}

QString FolderWriter::putInPlace(const QByteArray &name, const QByteArray &hash)
{
    if (folderCalls.renameat(lock_.dir(), temporaryName(name).constData(), lock_.dir(), name.constData()) == 0) {
        return {};
    }
    const int error = errno;
    const QString file = QFile::decodeName(name);
    const QString what = QCoreApplication::translate("folderwriter", "cannot put %1 in place").arg(file);
    switch (error) {
    case ENOENT:
        return hashesTo(lock_.dir(), name, hash) ? QString() : lock_.failure(what, error, notRenamed(file, hash));
    case EISDIR:
    case ENOTEMPTY:
    case EEXIST:
    case EBUSY:
        return lock_.failure(what, error,
            QCoreApplication::translate("folderwriter",
                "%1 is in the way; remove it, and the next make or check in this folder puts the rest of the new "
                "set in place")
                .arg(file));
    case EACCES:
    case EPERM:
    case EROFS:
        return lock_.failure(what, error,
            QCoreApplication::translate("folderwriter",
                "the folder holds part of the new set until a make or check by a user who may write in it puts "
                "the rest in place"));
    }
    return lock_.failure(what, error, finishedLater());
}

QString FolderWriter::undo(const QString &what, int error, bool journalWritten)
{
    if (journalWritten) {
        if (folderCalls.unlinkat(lock_.dir(), kJournalName.constData(), 0) != 0 && errno != ENOENT) {
            return lock_.failure(what, error,
                QCoreApplication::translate("folderwriter",
                    "the earlier files are unchanged until a later make or check in this folder puts the new set in "
                    "place"));
        }
        // A journal that came back after a power loss without its files
        // would finish part of the set, so they go only once it is gone on
        // the disk; until then they are harmless, and the next run drops them.
        if (!syncFolder(lock_.dir())) {
            return lock_.failure(what, error, unchanged());
        }
    }
    dropTemporaries();
    syncFolder(lock_.dir()); // a temporary that comes back is dropped by the next run
    return lock_.failure(what, error, unchanged());
}

void FolderWriter::dropTemporaries()
{
    for (const QByteArray &name : names_) {
        folderCalls.unlinkat(lock_.dir(), temporaryName(name).constData(), 0);
    }
    folderCalls.unlinkat(lock_.dir(), kJournalTemporary.constData(), 0);
}

QString FolderWriter::replace(const std::vector<std::pair<QString, QByteArray>> &files)
{
    QByteArray journal;
    for (const auto &[name, bytes] : files) {
        const QByteArray encoded = QFile::encodeName(name);
        Q_ASSERT(names_.contains(encoded));
        const QByteArray temporary = temporaryName(encoded);
        if (const int error = writeNewFile(lock_.dir(), temporary, bytes); error != 0) {
            const QString undone =
                undo(QCoreApplication::translate("folderwriter", "cannot write %1").arg(name), error, false);
            // Something that is no file of the writer's under its temporary
            // name would refuse every later make as well.
            return error == EISDIR || error == ENOTEMPTY || error == EEXIST ? undone + QStringLiteral("; ")
                    + QCoreApplication::translate("folderwriter", "remove %1, which is in the way")
                          .arg(QFile::decodeName(temporary))
                                                                            : undone;
        }
        journal += journalLine(encoded, bytes);
    }
    // The journal appears at once, by a rename, and only after every new
    // file is on the disk: from then on a killed run is finished, before
    // then undone.
    int error = writeNewFile(lock_.dir(), kJournalTemporary, journal);
    if (error == 0 && !syncFolder(lock_.dir())) {
        error = errno;
    }
    if (error != 0) {
        return undo(QCoreApplication::translate("folderwriter", "cannot write the journal"), error, false);
    }
    // A rename that failed may still have happened.
    if (folderCalls.renameat(lock_.dir(), kJournalTemporary.constData(), lock_.dir(), kJournalName.constData()) != 0
        || !syncFolder(lock_.dir())) {
        const int error = errno;
        return undo(QCoreApplication::translate("folderwriter", "cannot put the journal in place"), error, true);
    }
    return finish(journal.split('\n'));
}
