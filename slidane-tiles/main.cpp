// slidane-tiles: turns a photo into the tile files of a picture puzzle, and
// says whether the game will read the tile files in a folder.
#include "checkcommand.h"
#include "commandline.h"
#include "decodercommand.h"
#include "decoderprocess.h"
#include "makecommand.h"
#include "playcommand.h"
#include "translations.h"

#include <QCoreApplication>

#include <cstdio>

using namespace commandline;

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
        std::fprintf(stderr, "%s", qUtf8Printable(usage()));
        return kWrongUsage;
    }
    return wrongUsage(QCoreApplication::translate("main", "unknown command '%1'").arg(command));
}
