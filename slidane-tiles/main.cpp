// slidane-tiles: turns a photo into the tile files of a picture puzzle, and
// says whether the game will read the tile files in a folder.
#include "decodercommand.h"
#include "decoderprocess.h"
#include "launcher.h"
#include "photofile.h"
#include "playcommand.h"
#include "tileset.h"
#include "translations.h"

#include <QCommandLineParser>
#include <QCoreApplication>

#include <algorithm>
#include <cstdio>

namespace {

// Exit statuses as GNU tools have them.
constexpr int kDone = 0;
constexpr int kFailed = 1;
constexpr int kWrongUsage = 2;

constexpr const char *kUsage = "Usage: slidane-tiles make [--force] [--launcher NAME] [--] PHOTO [FOLDER]\n"
                               "       slidane-tiles check [--] [FOLDER]\n"
                               "       slidane-tiles play [--] [PHOTO]\n"
                               "       slidane-tiles --help | --version\n";

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
    std::printf("%s%s", kUsage, qUtf8Printable(QCoreApplication::translate("main", kHelp)));
    return kDone;
}

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

// Parses a subcommand's arguments GNU-style: options anywhere, "--" ends
// them, -h and --help always known. False with the status to exit with when
// the command ends here.
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
    const photo::PhotoFile file(places[0]);
    if (!file.problem().isEmpty()) {
        return fail(file.problem());
    }
    const photo::Square square = photo::readSquare(file);
    if (square.picture.isNull()) {
        return fail(square.error);
    }
    if (const QString error = tileset::make(square.picture, options); !error.isEmpty()) {
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

int runCheck(const QStringList &args)
{
    QCommandLineParser parser;
    int status = kDone;
    if (!parse(parser, QStringLiteral("check"), args, status)) {
        return status;
    }
    const QStringList places = parser.positionalArguments();
    if (places.size() > 1) {
        return wrongUsage(
            QCoreApplication::translate("main", "check takes one FOLDER, and no more: %1").arg(places[1]));
    }
    const tileset::CheckReport report = tileset::check(places.value(0, QStringLiteral(".")));
    if (!report.folderProblem.isEmpty()) {
        return fail(report.folderProblem);
    }
    // One line each, in the user's language.
    const auto say = [](const QString &line) { std::printf("%s\n", qUtf8Printable(line)); };
    if (report.repaired) {
        say(QCoreApplication::translate("main", "Finished putting in place the files of a make that was interrupted."));
    }
    int unread = 0;
    for (const tileset::FileReport &file : report.files) {
        say(file.line);
        unread += file.read ? 0 : 1;
    }
    if (unread > 0) {
        say(QCoreApplication::translate(
            "main", "The game shows its built-in pictures: %1 of the sixteen files cannot be read.")
                .arg(unread));
        return kFailed;
    }
    if (!report.strays.isEmpty()) {
        say(QCoreApplication::translate("main",
            "Mixed set: %1 not made together with the other files (copied from another set, or changed since); "
            "the game shows them all the same.")
                .arg(report.strays.join(QStringLiteral(", "))));
        return kFailed;
    }
    say(QCoreApplication::translate("main", "The game shows these sixteen pictures."));
    return kDone;
}

} // namespace

int main(int argc, char *argv[])
{
    if (argc > 1 && qstrcmp(argv[1], photo::kDecoderCommand) == 0) {
        return runDecoder(argc, argv);
    }
    // A desktop program, with message boxes and a file dialog.
    if (argc > 1 && qstrcmp(argv[1], "play") == 0) {
        return runPlay(argc, argv);
    }
    QCoreApplication app(argc, argv); // finds the image plugins (JPEG, GIF)
    loadTranslations(app);
    QStringList args = QCoreApplication::arguments().mid(1);
    const QString command = args.isEmpty() ? QString() : args.takeFirst();
    if (command == QStringLiteral("make")) {
        return runMake(args);
    }
    if (command == QStringLiteral("check")) {
        return runCheck(args);
    }
    if (command == QStringLiteral("--help") || command == QStringLiteral("-h")) {
        return help();
    }
    if (command == QStringLiteral("--version")) {
        std::printf("slidane-tiles " SLIDANE_VERSION "\n");
        return kDone;
    }
    if (command.isEmpty()) {
        std::fprintf(stderr, "%s", kUsage);
        return kWrongUsage;
    }
    return wrongUsage(QCoreApplication::translate("main", "unknown command '%1'").arg(command));
}
