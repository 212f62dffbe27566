#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <chrono>

#include <sys/types.h>

// The calls on a tile folder whose failures decide what is left there, in
// one place so that a test can make any of them fail.
struct FolderCalls {
    int (*openat)(int dir, const char *name, int flags, mode_t mode);
    int (*renameat)(int fromDir, const char *from, int toDir, const char *to);
    int (*unlinkat)(int dir, const char *name, int flags);
    int (*fsync)(int fd);
    int (*flock)(int fd, int operation);
};
extern FolderCalls folderCalls;

// The lock file `.slidane-tiles.lock` that keeps the runs in one folder
// apart: a writer holds it alone, readers share it. It also holds the
// folder open, so that every name is taken in the folder that was locked.
class FolderLock {
public:
    enum Mode { Exclusive, Shared };

    // How long a run waits for another to let go of the lock.
    static constexpr std::chrono::seconds kWait{5};

    explicit FolderLock(QString folder);
    ~FolderLock();
    FolderLock(const FolderLock &) = delete;
    FolderLock &operator=(const FolderLock &) = delete;

    // Opens the folder; nothing else is touched. An empty result means done,
    // else the reason.
    QString openFolder();
    // Opens the lock file, made first if `create`; without it, an absent
    // lock file is no error and leaves exists() false. Open for writing
    // where this user may, as some file systems need for the exclusive lock.
    QString openFile(bool create);
    bool exists() const { return fd_ >= 0; }
    // Takes the lock, waiting up to kWait from openFolder(), on the file that
    // is at the lock file's path once it is held. An empty result means
    // held, else the reason.
    QString take(Mode mode);
    // Tries once to turn a shared lock into the exclusive one: 0 when held,
    // else the error (EWOULDBLOCK while another reader holds it). The shared
    // lock is let go first, so two readers that both try never wait for
    // each other: one wins, the other takes the shared lock again.
    int tryExclusive();
    // Backs off for a random moment, false once the wait is over.
    bool pause() const;

    // For a make that failed in `created`, the folders it made from the
    // outermost in: removes the lock file and then those of them that are
    // empty, while the lock is still held alone. Nothing without the lock.
    void removeWithFolders(const QStringList &created);

    int dir() const { return dir_; }
    const QString &folder() const { return folder_; }

    // "FOLDER: WHAT (CAUSE); OUTCOME"
    QString failure(const QString &what, int error, const QString &outcome = QString()) const;
    QString notAFile(const QByteArray &name) const;
    QString busy() const;
    // Why the lock could not be had, from flock's error.
    QString lockFailure(int error) const;

    static QString fileName();

private:
    QString openFailure(int error) const;
    int lock(int operation, bool wait);
    // Whether the lock just taken is on the file at the lock file's path;
    // when not, lets go of it.
    bool heldAtPath();

    QString folder_;
    int dir_ = -1;
    int fd_ = -1;
    bool readOnly_ = false; // fd_ could not be opened for writing
    bool held_ = false;
    std::chrono::steady_clock::time_point deadline_;
};
