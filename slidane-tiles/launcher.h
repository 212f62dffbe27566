#pragma once

#include <QString>

// The menu entries that `make --launcher NAME` writes: each starts the game
// in the folder of one set.
namespace launcher {

// Why `name` cannot name a menu entry (empty, a control character, too long
// for a file name), or nothing.
QString nameProblem(const QString &name);

// The entry for `name`: a file of its own for every name. An empty result
// means `path` is set and may be written (with `force` also when it exists)
// into a folder that exists, else the reason.
QString entryPath(const QString &name, bool force, QString &path);

// Writes the entry at `path` that starts the game in `folder`; an empty
// result means done, else the reason.
QString write(const QString &name, const QString &folder, const QString &path);

} // namespace launcher
