#pragma once

#include <QString>
#include <QStringList>

class QCommandLineParser;

// What the commands of slidane-tiles have in common on the command line:
// their exit statuses, usage and help, and how they report.
namespace commandline {

// Exit statuses as GNU tools have them.
constexpr int kDone = 0;
constexpr int kFailed = 1;
constexpr int kWrongUsage = 2;

enum class Command { All, Play };

// "Usage: ..." with one line for each command, or only play's, in the
// user's language.
QString usage(Command command = Command::All);

// Says `message` on standard error and returns kFailed.
int fail(const QString &message);
// Says `message` and where help is on standard error, and returns kWrongUsage.
int wrongUsage(const QString &message);
// Prints the usage and help and returns kDone.
int help();

// Parses a subcommand's arguments GNU-style: options anywhere, "--" ends
// them, -h and --help always known. False with the status to exit with when
// the command ends here.
bool parse(QCommandLineParser &parser, const QString &command, const QStringList &args, int &status);

} // namespace commandline
