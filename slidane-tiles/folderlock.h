#pragma once

#include <QByteArray>
#include <QString>

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
    // lock file is no error and leaves exists() false.
    QString openFile(bool create);
    bool exists() const { return fd_ >= 0; }
    // Takes the lock, waiting up to kWait from openFolder(). An empty result
    // means held, else the reason.
    QString take(Mode mode);
    // Tries once to turn a shared lock into the exclusive one: 0 when held,
    // else the error (EWOULDBLOCK while another reader holds it). The shared
    // lock is let go first, so two readers that both try never wait for
    // each other: one wins, the other takes the shared lock again.
    int tryExclusive();
    // Backs off for a random moment, false once the wait is over.
    bool pause() const;

    int dir() const { return dir_; }
    const QString &folder() const { return folder_; }

    // "FOLDER: WHAT (CAUSE); OUTCOME"
    QString failure(const QString &what, int error, const QString &outcome = QString()) const;
    QString notAFile(const QByteArray &name) const;
    QString busy() const;

    static QString fileName();

private:
    int lock(int operation, bool wait);
    QString lockFailure(int error) const;

    QString folder_;
    int dir_ = -1;
    int fd_ = -1;
    std::chrono::steady_clock::time_point deadline_;
};
