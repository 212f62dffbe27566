#pragma once

#include <QStringList>

// slidane-tiles check [--] [FOLDER]: what the game makes of each tile file
// in FOLDER, and whether they belong together. Returns the exit status.
int runCheck(const QStringList &args);
