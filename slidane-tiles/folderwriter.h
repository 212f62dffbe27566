#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <chrono>
#include <utility>
#include <vector>

#include <sys/types.h>

// Replacing files in a folder so that no failure loses what was there: each
// file is written whole under a temporary name and flushed to the disk before
// anything is renamed over the old one, a journal lets the next run finish a
// group of renames that a killed run left half done, and a lock file keeps
// writers apart from each other and from readers. A name that is a symbolic
// link is replaced by a file; the link's target is never written. The writer
// touches its own names and their temporaries, `.slidane-tiles.NAME.new`,
// and no other file in the folder.
class FolderWriter {
public:
    // The calls on the folder whose failures decide what is left there, in
    // one place so that a test can make any of them fail.
    struct Calls {
        int (*openat)(int dir, const char *name, int flags, mode_t mode);
        int (*renameat)(int fromDir, const char *from, int toDir, const char *to);
        int (*unlinkat)(int dir, const char *name, int flags);
        int (*fsync)(int fd);
    };
    static Calls calls;

    // How long a run waits for another to let go of the lock.
    static constexpr std::chrono::seconds kLockWait{5};

    // `names` are the files it may write in `folder`, which must exist.
    // Nothing is touched before open().
    FolderWriter(QString folder, QStringList names);
    ~FolderWriter();
    FolderWriter(const FolderWriter &) = delete;
    FolderWriter &operator=(const FolderWriter &) = delete;

    // Takes the folder's lock and finishes or undoes what a killed run left.
    // A writer holds the lock alone; a reader (`readOnly`) shares it with
    // other readers, makes no lock file where no writer ever was, and reads
    // a folder it cannot write in. Either waits up to kLockWait for the
    // lock. An empty result means done, else the reason.
    QString open(bool readOnly = false);

    // Whether open() found a group of renames left half done and finished it.
    bool repaired() const { return repaired_; }

    // Puts all `files` (name, contents) in place, or none of them. An error
    // before the first rename leaves the earlier files unchanged; one while
    // renaming leaves the journal, from which the next open() finishes. An
    // empty result means done, else the reason, which says which it was.
    QString replace(const std::vector<std::pair<QString, QByteArray>> &files);

    // One file replaced in one step, without lock or journal: a reader sees
    // the old file or the new one.
    static QString replaceOne(const QString &folder, const QString &name, const QByteArray &bytes);

    // The file in a folder that keeps writers apart.
    static QString lockFileName();

private:
    QString failure(const QString &what, int error, const QString &outcome = QString()) const;
    QString notAFile(const QByteArray &name) const;
    QString openLock(bool create);
    int lock(int operation, bool wait);
    QString busy() const;
    QString openJournal(int &fd) const;
    QString recover();
    QString finish(const QList<QByteArray> &names);
    QString undo(const QString &what, int error, bool journalWritten);
    void removeTemporaries();
    bool syncFolder();

    QString folder_;
    QList<QByteArray> names_; // as the file system spells them
    int dir_ = -1;
    int lock_ = -1;
    bool repaired_ = false;
    std::chrono::steady_clock::time_point deadline_;
};
