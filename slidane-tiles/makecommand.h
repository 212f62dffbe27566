#pragma once

#include <QStringList>

// slidane-tiles make [--force] [--launcher NAME] [--] PHOTO [FOLDER]: the
// photo becomes the tile files in FOLDER, and with --launcher a menu entry
// that starts the game there. Returns the exit status.
int runMake(const QStringList &args);
