#pragma once

#include <QString>

// The sets that `play` makes: one folder for each photo in the user's data
// folder, kept for the next time the same photo is opened.
namespace photo {
class PhotoFile;
}

namespace photoset {

// The folder of `photo`, below `$XDG_DATA_HOME/slidane/`: the photo's name
// and a short hash of its content, so that two photos of one name never
// share it. Empty with the reason in `error` when the photo cannot be read
// or changed while it was.
QString folderFor(const photo::PhotoFile &photo, QString &error);

// Whether `folder` holds sixteen tile files of one make that the game shows.
bool isWhole(const QString &folder);

} // namespace photoset
