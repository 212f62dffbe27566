#include "makecommand.h"

#include "commandline.h"
#include "decoderprocess.h"
#include "launcher.h"
#include "photofile.h"
#include "tileset.h"

#include <QCommandLineParser>
#include <QCoreApplication>

#include <algorithm>
#include <cstdio>

using namespace commandline;

namespace {

// A folder as the shell takes it back: quoted unless plainly safe, and never
// starting with a hyphen, which cd would take for an option.
QString shellWord(const QString &word)
{
    static const QString safe =
        QStringLiteral("abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789/._-+,:@%");
    const QString path = word.startsWith(QLatin1Char('-')) ? QStringLiteral("./") + word : word;
    if (!path.isEmpty() && std::all_of(path.begin(), path.end(), [](QChar c) { return safe.contains(c); })) {
        return path;
    }
    QString quoted = path;
    quoted.replace(QLatin1Char('\''), QStringLiteral("'\\''"));
    return QLatin1Char('\'') + quoted + QLatin1Char('\'');
}

// Writes the set of the photo at `path`; empty when done, else the reason.
QString makeSet(const QString &path, const tileset::MakeOptions &options)
{
    const photo::PhotoFile file(path);
    if (!file.problem().isEmpty()) {
        return file.problem();
    }
    const photo::Square square = photo::readSquare(file);
    return square.picture.isNull() ? square.error : tileset::make(square.picture, options);
}

} // namespace

int runMake(const QStringList &args)
{
    QCommandLineParser parser;
    const QCommandLineOption forceOption(QStringLiteral("force"));
    const QCommandLineOption launcherOption(QStringLiteral("launcher"), QString(), QStringLiteral("NAME"));
    parser.addOptions({forceOption, launcherOption});
    int status = kDone;
    if (!parse(parser, QStringLiteral("make"), args, status)) {
        return status;
    }
    const QStringList places = parser.positionalArguments();
    if (places.isEmpty()) {
        return wrongUsage(QCoreApplication::translate("main", "make needs a PHOTO"));
    }
    if (places.size() > 2) {
        return wrongUsage(
            QCoreApplication::translate("main", "make takes a PHOTO and a FOLDER, and no more: %1").arg(places[2]));
    }
    tileset::MakeOptions options;
    options.folder = places.value(1, QStringLiteral("."));
    options.force = parser.isSet(forceOption);

    // Every argument is checked before the first tile is written.
    const QString launcher = parser.value(launcherOption);
    QString entry;
    if (parser.isSet(launcherOption)) {
        if (const QString problem = launcher::nameProblem(launcher); !problem.isEmpty()) {
            return wrongUsage(problem);
        }
        if (const QString error = launcher::entryPath(launcher, options.force, entry); !error.isEmpty()) {
            return fail(error);
        }
    }
    if (const QString error = makeSet(places[0], options); !error.isEmpty()) {
        return fail(error);
    }
    if (!entry.isEmpty()) {
        if (const QString error = launcher::write(launcher, options.folder, entry); !error.isEmpty()) {
            return fail(error);
        }
        std::printf("%s\n", qUtf8Printable(QCoreApplication::translate("main", "Wrote the menu entry %1").arg(entry)));
    }
    std::printf("%s\n  cd %s && slidane\n",
        qUtf8Printable(QCoreApplication::translate("main", "Wrote 0.bmp ... 15.bmp. Start the picture puzzle with:")),
        qUtf8Printable(shellWord(options.folder)));
    return kDone;
}
