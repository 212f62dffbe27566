#include "launcher.h"

#include "replacefile.h"
#include "tileset.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

#include <algorithm>

#include <unistd.h>

namespace launcher {
namespace {

// A desktop entry's string value: escapes for backslash and control characters.
QString entryString(QString text)
{
    text.replace(QLatin1Char('\\'), QStringLiteral("\\\\"));
    text.replace(QLatin1Char('\n'), QStringLiteral("\\n"));
    text.replace(QLatin1Char('\t'), QStringLiteral("\\t"));
    text.replace(QLatin1Char('\r'), QStringLiteral("\\r"));
    return text;
}

// Stays below the longest file name, 255 bytes, with room for
// ".desktop" and the temporary name's additions.
constexpr qsizetype kMaxEntryId = 200;

// Letters, digits and hyphens stand for themselves and every other byte of
// the UTF-8 name is written _XX, so that no two names share an entry.
QString launcherId(const QString &name)
{
    QString id = QStringLiteral("slidane-tiles-");
    for (const char c : name.toUtf8()) {
        const auto byte = static_cast<uchar>(c);
        if ((byte >= 'a' && byte <= 'z') || (byte >= 'A' && byte <= 'Z') || (byte >= '0' && byte <= '9')
            || byte == '-') {
            id += QLatin1Char(c);
        } else {
            id += QStringLiteral("_%1").arg(byte, 2, 16, QLatin1Char('0')).toUpper();
        }
    }
    return id;
}

QString forceHint()
{
    return QCoreApplication::translate("launcher", "give --force to replace the menu entry");
}

} // namespace

QString nameProblem(const QString &name)
{
    if (name.isEmpty()) {
        return QCoreApplication::translate("launcher", "--launcher needs a name");
    }
    if (std::any_of(name.begin(), name.end(), [](QChar c) { return c.category() == QChar::Other_Control; })) {
        return QCoreApplication::translate("launcher", "--launcher: the name has a control character");
    }
    if (launcherId(name).size() > kMaxEntryId) {
        return QCoreApplication::translate(
            "launcher", "--launcher: the name is too long for a menu entry's file name; shorten it");
    }
    return {};
}

QString entryPath(const QString &name, bool force, QString &path)
{
    const QString applications =
        QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) + QStringLiteral("/applications");
    if (!QDir().mkpath(applications) || ::access(QFile::encodeName(applications).constData(), W_OK | X_OK) != 0) {
        return QCoreApplication::translate("launcher", "%1: cannot write menu entries there").arg(applications);
    }
    path = applications + QLatin1Char('/') + launcherId(name) + QStringLiteral(".desktop");
    return tileset::replaceable(path, force, forceHint());
}

QString write(const QString &name, const QString &folder, const QString &path)
{
    const QFileInfo info(path);
    const QString entry =
        QStringLiteral("[Desktop Entry]\nType=Application\nName=%1\nComment=%2\nExec=slidane\n"
                       "Path=%3\nIcon=" SLIDANE_APP_ID "\nTerminal=false\n"
                       "Categories=Game;LogicGame;\n")
            .arg(entryString(name), entryString(QCoreApplication::translate("launcher", "Picture puzzle of ") + name),
                entryString(QDir(folder).absolutePath()));
    return replaceFile(info.path(), info.fileName(), entry.toUtf8());
}

} // namespace launcher
