#pragma once

#include "folderlock.h"

#include <QString>
#include <QStringList>

class FolderWriter;

// A reader's hold on a tile folder: shared with other readers, while no
// writer changes the files. A group of renames that a killed writer left
// half done is finished first, so that the reader sees whole sets. Where
// no writer ever was, it makes no lock file, and it reads a folder it
// cannot write in.
class FolderReadLock {
public:
    // `names` are the files a writer may have left half put in place.
    FolderReadLock(QString folder, QStringList names);

    // Waits up to FolderLock::kWait for the lock. An empty result means
    // held until destruction, else the reason.
    QString take();

    // Whether take() found a group of renames left half done and finished it.
    bool repaired() const { return repaired_; }

private:
    // Opens the lock file where a writer was; leaves none where none was.
    QString openFile(FolderWriter &writer);

    FolderLock lock_;
    QStringList names_;
    bool repaired_ = false;
};
