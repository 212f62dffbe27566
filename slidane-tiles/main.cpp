// slidane-tiles: turns a photo into the tile files of a picture puzzle, and
// says whether the game will read the tile files in a folder.
#include "tileset.h"

#include <QCoreApplication>

#include <algorithm>
#include <cstdio>

namespace {

constexpr const char *kUsage = "usage: slidane-tiles make PHOTO [FOLDER] [--force] [--launcher NAME]\n"
                               "       slidane-tiles check [FOLDER]\n";

int fail(const QString &message)
{
    std::fprintf(stderr, "slidane-tiles: %s\n", qUtf8Printable(message));
    return 1;
}

// A folder as the shell takes it back: quoted unless plainly safe.
QString shellWord(const QString &word)
{
    static const QString safe =
        QStringLiteral("abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789/._-+,:@%");
    if (!word.isEmpty() && std::all_of(word.begin(), word.end(), [](QChar c) { return safe.contains(c); })) {
        return word;
    }
    QString quoted = word;
    quoted.replace(QLatin1Char('\''), QStringLiteral("'\\''"));
    return QLatin1Char('\'') + quoted + QLatin1Char('\'');
}

int runMake(const QStringList &args)
{
    tileset::MakeOptions options;
    QString launcher;
    QStringList places;
    for (qsizetype i = 0; i < args.size(); ++i) {
        if (args[i] == QStringLiteral("--force")) {
            options.force = true;
        } else if (args[i] == QStringLiteral("--launcher") && i + 1 < args.size()) {
            launcher = args[++i];
        } else if (args[i].startsWith(QStringLiteral("--"))) {
            return fail(QStringLiteral("unknown option %1\n").arg(args[i]) + QString::fromLatin1(kUsage).trimmed());
        } else {
            places << args[i];
        }
    }
    if (places.isEmpty() || places.size() > 2 || (args.contains(QStringLiteral("--launcher")) && launcher.isEmpty())) {
        return fail(QString::fromLatin1(kUsage).trimmed());
    }
    options.photo = places[0];
    options.folder = places.value(1, QStringLiteral("."));
    if (const QString error = tileset::make(options); !error.isEmpty()) {
        return fail(error);
    }
    if (!launcher.isEmpty()) {
        QString entry;
        if (const QString error = tileset::writeLauncher(launcher, options.folder, entry); !error.isEmpty()) {
            return fail(error);
        }
        std::printf("Wrote the menu entry %s\n", qUtf8Printable(entry));
    }
    std::printf("Wrote 0.bmp ... 15.bmp. Start the picture puzzle with:\n  cd %s && slidane\n",
        qUtf8Printable(shellWord(options.folder)));
    return 0;
}

int runCheck(const QStringList &args)
{
    if (args.size() > 1) {
        return fail(QString::fromLatin1(kUsage).trimmed());
    }
    const QString folder = args.value(0, QStringLiteral("."));
    int unread = 0;
    for (const tileset::FileReport &report : tileset::check(folder)) {
        std::printf("%s\n", qUtf8Printable(report.line));
        unread += report.read ? 0 : 1;
    }
    if (unread == 0) {
        std::printf("The game shows these sixteen pictures.\n");
        return 0;
    }
    std::printf("The game shows its built-in pictures: %d of the sixteen files cannot be read.\n", unread);
    return 1;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv); // finds the image plugins (JPEG, GIF)
    QStringList args = QCoreApplication::arguments().mid(1);
    const QString command = args.isEmpty() ? QString() : args.takeFirst();
    if (command == QStringLiteral("make")) {
        return runMake(args);
    }
    if (command == QStringLiteral("check")) {
        return runCheck(args);
    }
    std::fprintf(stderr, "%s", kUsage);
    return 2;
}
