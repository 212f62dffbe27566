#include "commandline.h"

#include <QCommandLineParser>
#include <QCoreApplication>

#include <cstdio>

namespace commandline {
namespace {

constexpr const char *kHelp = QT_TRANSLATE_NOOP("main",
    "\n"
    "make   turns PHOTO into the tile files 0.bmp ... 15.bmp of a picture puzzle\n"
    "       in FOLDER (the current folder if none is given), all or none of them.\n"
    "check  says for each tile file in FOLDER whether the game reads it, and\n"
    "       whether the sixteen come from one photo.\n"
    "play   makes the puzzle of PHOTO (chosen in a dialog if none is given) in a\n"
    "       folder of its own below ~/.local/share/slidane and starts the game on it.\n"
    "\n"
    "  --force          replace existing tile files and an existing menu entry\n"
    "  --launcher NAME  also add a menu entry NAME that starts the game in FOLDER\n"
    "  -h, --help       show this help and exit\n"
    "      --version    show the version and exit\n"
    "\n"
    "Exit status: 0 when done (check: the game shows the sixteen files),\n"
    "1 when not, 2 for wrong usage. See slidane-tiles(6).\n");

} // namespace

QString usage(Command command)
{
    QStringList lines;
    if (command == Command::All) {
        lines << QCoreApplication::translate(
            "main", "slidane-tiles make [--force] [--launcher NAME] [--] PHOTO [FOLDER]")
              << QCoreApplication::translate("main", "slidane-tiles check [--] [FOLDER]");
    }
    lines << QCoreApplication::translate("main", "slidane-tiles play [--] [PHOTO]");
    if (command == Command::All) {
        lines << QStringLiteral("slidane-tiles --help | --version");
    }
    // The lines under the first start where it does.
    const QString first = QCoreApplication::translate("main", "Usage: %1").arg(lines.first());
    const QString indent(first.size() - lines.first().size(), QLatin1Char(' '));
    return first + QLatin1Char('\n')
        + (lines.size() > 1 ? indent + lines.mid(1).join(QLatin1Char('\n') + indent) + QLatin1Char('\n') : QString());
}

int fail(const QString &message)
{
    std::fprintf(stderr, "slidane-tiles: %s\n", qUtf8Printable(message));
    return kFailed;
}

int wrongUsage(const QString &message)
{
    std::fprintf(stderr, "slidane-tiles: %s\n%s\n", qUtf8Printable(message),
        qUtf8Printable(QCoreApplication::translate("main", "Try 'slidane-tiles --help' for more information.")));
    return kWrongUsage;
}

int help()
{
    std::printf("%s%s", qUtf8Printable(usage()), qUtf8Printable(QCoreApplication::translate("main", kHelp)));
    return kDone;
}

bool parse(QCommandLineParser &parser, const QString &command, const QStringList &args, int &status)
{
    const QCommandLineOption helpOption(QStringList{QStringLiteral("h"), QStringLiteral("help")});
    parser.addOption(helpOption);
    if (!parser.parse(QStringList{command} + args)) {
        status = wrongUsage(parser.errorText());
        return false;
    }
    if (parser.isSet(helpOption)) {
        status = help();
        return false;
    }
    return true;
}

} // namespace commandline
