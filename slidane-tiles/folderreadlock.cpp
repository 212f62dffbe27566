#include "folderreadlock.h"

#include "folderwriter.h"

#include <cerrno>

FolderReadLock::FolderReadLock(QString folder, QStringList names)
    : lock_(std::move(folder))
    , names_(std::move(names))
{
}

QString FolderReadLock::openFile(FolderWriter &writer)
{
    if (const QString error = lock_.openFolder(); !error.isEmpty()) {
        return error;
    }
    if (const QString error = lock_.openFile(false); !error.isEmpty() || lock_.exists()) {
        return error;
    }
    // Every writer makes the lock file before anything else, so where there
    // is none nothing was ever written, unless someone removed it beside a
    // journal.
    bool journal = false;
    if (const QString error = writer.findJournal(journal); !error.isEmpty() || !journal) {
        return error;
    }
    return lock_.openFile(true);
}

QString FolderReadLock::take()
{
    FolderWriter writer(lock_, names_);
    if (const QString error = openFile(writer); !error.isEmpty() || !lock_.exists()) {
        return error;
    }
    for (;;) {
        if (const QString error = lock_.take(FolderLock::Shared); !error.isEmpty()) {
            return error;
        }
        bool journal = false;
        if (const QString error = writer.findJournal(journal); !error.isEmpty()) {
            return error;
        }
        if (!journal) {
            writer.dropTemporaries();
            return {};
        }
        // Only a run that holds the lock alone may finish a journal.
        const int error = lock_.tryExclusive();
        if (error == 0) {
            const QString recovered = writer.recover();
            repaired_ = writer.repaired();
            return recovered;
        }
        if (error != EWOULDBLOCK) {
            return lock_.lockFailure(error);
        }
        if (!lock_.pause()) {
            return lock_.busy();
        }
    }
}
