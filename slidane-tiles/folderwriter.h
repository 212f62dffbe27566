#pragma once

#include <QByteArray>
#include <QString>

#include <utility>
#include <vector>

// Replacing files in a folder so that no failure loses what was there: each
// file is written whole under a temporary name and flushed to the disk before
// anything is renamed over the old one, a journal lets the next run finish a
// group of renames that a killed run left half done, and a lock file keeps
// two writers apart. A name that is a symbolic link is replaced by a file;
// the link's target is never written.
class FolderWriter {
public:
    // The folder must exist. Nothing is touched before open().
    explicit FolderWriter(QString folder);
    ~FolderWriter();
    FolderWriter(const FolderWriter &) = delete;
    FolderWriter &operator=(const FolderWriter &) = delete;

    // Takes the folder's lock and finishes or undoes what a killed run left.
    // `readOnly` makes no lock file, and opens a folder that cannot be
    // written without lock or repair. An empty result means done, else the
    // reason.
    QString open(bool readOnly = false);

    // Whether open() found a group of renames left half done and finished it.
    bool repaired() const { return repaired_; }

    // Puts all `files` (name, contents) in place, or none of them: on an
    // error the folder holds the earlier files unchanged. An empty result
    // means done, else the reason.
    QString replace(const std::vector<std::pair<QString, QByteArray>> &files);

    // One file replaced in one step, without lock or journal: a reader sees
    // the old file or the new one.
    static QString replaceOne(const QString &folder, const QString &name, const QByteArray &bytes);

    // The file in a folder that keeps writers apart.
    static QString lockFileName();

private:
    QString failure(const QString &what, int error) const;
    QString finishJournal();
    void removeTemporaries();
    bool syncFolder();

    QString folder_;
    int dir_ = -1;
    int lock_ = -1;
    bool repaired_ = false;
};
