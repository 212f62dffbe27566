#include "photoset.h"

#include "photofile.h"
#include "tileset.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QStandardPaths>

#include <algorithm>

namespace photoset {
namespace {

// Long enough to tell photos apart, short enough to read in a file manager.
constexpr qsizetype kHashDigits = 12;
constexpr qsizetype kMaxStem = 64;

// The photo's own name as a folder name: no control characters, not hidden,
// not too long, and never cut inside a character.
QString stemOf(const QString &path)
{
    QString stem = QFileInfo(path).completeBaseName();
    std::replace_if(
        stem.begin(), stem.end(), [](QChar c) { return c.category() == QChar::Other_Control; }, u'_');
    while (stem.startsWith(QLatin1Char('.'))) {
        stem.remove(0, 1);
    }
    if (stem.size() > kMaxStem) {
        stem.truncate(stem.at(kMaxStem - 1).isHighSurrogate() ? kMaxStem - 1 : kMaxStem);
    }
    return stem.isEmpty() ? QStringLiteral("photo") : stem;
}

} // namespace

QString folderFor(const photo::PhotoFile &photo, QString &error)
{
    const QByteArray hash = photo.sha256(error);
    if (hash.isEmpty()) {
        return {};
    }
    if (error = photo.changed(); !error.isEmpty()) {
        return {};
    }
    const QString hex = QString::fromLatin1(hash.toHex().left(kHashDigits));
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) + QStringLiteral("/slidane/")
        + stemOf(photo.path()) + QLatin1Char('-') + hex;
}

bool isWhole(const QString &folder)
{
    // A folder not made yet is a folder problem to check.
    const tileset::CheckReport report = tileset::check(folder);
    return report.folderProblem.isEmpty() && report.strays.isEmpty()
        && std::all_of(
            report.files.begin(), report.files.end(), [](const tileset::FileReport &file) { return file.read; });
}

} // namespace photoset
