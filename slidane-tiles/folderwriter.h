#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

#include <utility>
#include <vector>

class FolderLock;

// Replacing a group of files in a folder so that no failure loses what was
// there: each file is written whole under a temporary name and flushed to
// the disk before anything is renamed over the old one, and a journal lets
// the next run finish a group of renames that a killed run left half done.
// The journal holds each new file's hash, so that a temporary found gone
// counts as renamed only when the file in its place is the new one.
// A name that is a symbolic link is replaced by a file; the link's target
// is never written. The writer touches its own names and their temporaries,
// `.slidane-tiles.NAME.new`, and no other file in the folder.
class FolderWriter {
public:
    // `names` are the files it may write in the folder of `lock`, which it
    // uses without owning it. Nothing is touched before open().
    FolderWriter(FolderLock &lock, const QStringList &names);

    // Takes the folder's lock alone, waiting up to FolderLock::kWait, and
    // finishes or undoes what a killed run left. An empty result means
    // done, else the reason.
    QString open();

    // What open() does once the lock is held alone, also for a reader that
    // found a journal.
    QString recover();
    // Whether recover() found a group of renames left half done and finished it.
    bool repaired() const { return repaired_; }

    // Whether a journal waits to be finished; an empty result means known.
    QString findJournal(bool &found) const;
    // Drops what a killed run wrote before its journal; only with no journal.
    void dropTemporaries();

    // Puts all `files` (name, contents) in place, or none of them. An error
    // before the first rename leaves the earlier files unchanged; one while
    // renaming leaves the journal, from which the next open() finishes. An
    // empty result means done, else the reason, which says which it was.
    QString replace(const std::vector<std::pair<QString, QByteArray>> &files);

private:
    QString openJournal(int &fd) const;
    QString finish(const QList<QByteArray> &lines);
    // Renames one file of the journal into place, or says why it cannot.
    QString putInPlace(const QByteArray &name, const QByteArray &hash);
    QString notRenamed(const QString &file, const QByteArray &hash) const;
    QString undo(const QString &what, int error, bool journalWritten);

    FolderLock &lock_;
    QList<QByteArray> names_; // as the file system spells them
    bool repaired_ = false;
};
