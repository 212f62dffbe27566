#pragma once

#include <QByteArray>
#include <QString>

// Writing files whole before they take the place of others, the step that
// FolderWriter and replaceFile share.

// The temporary name under which `name` is written before it is put in place.
QByteArray temporaryName(const QByteArray &name);

// Writes `bytes` as a new file `name` in the folder `dir` and flushes it to
// the disk: 0 when every byte is there, else the error.
int writeNewFile(int dir, const QByteArray &name, const QByteArray &bytes);

// Flushes the folder's names to the disk; false with errno set when it cannot.
bool syncFolder(int dir);

// One file replaced in one step, without journal: a reader sees the old
// file or the new one. An empty result means done, else the reason.
QString replaceFile(const QString &folder, const QString &name, const QByteArray &bytes);
