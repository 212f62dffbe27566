#include "checkcommand.h"

#include "commandline.h"
#include "tileset.h"

#include <QCommandLineParser>
#include <QCoreApplication>

#include <cstdio>

using namespace commandline;

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
            "main", "The game shows its built-in pictures: %n of the sixteen files cannot be read.", nullptr, unread));
        return kFailed;
    }
    if (const int strays = static_cast<int>(report.strays.size()); strays > 0) {
        say(QCoreApplication::translate("main",
            "Mixed set: %1 not made together with the other files (copied from another set, or changed since); "
            "the game shows them all the same.",
            nullptr, strays)
                .arg(report.strays.join(QStringLiteral(", "))));
        return kFailed;
    }
    say(QCoreApplication::translate("main", "The game shows these sixteen pictures."));
    return kDone;
}
