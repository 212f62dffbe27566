#include "playcommand.h"

#include "commandline.h"
#include "decoderprocess.h"
#include "errortext.h"
#include "photofile.h"
#include "photoset.h"
#include "tileset.h"
#include "translations.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QFont>
#include <QFontMetrics>
#include <QGridLayout>
#include <QIcon>
#include <QMessageBox>
#include <QStandardPaths>

#include <array>
#include <cstdio>

#include <unistd.h>

using namespace commandline;

namespace {

// Hashing this much takes a tenth of a second; the largest photos of
// phones and cameras are smaller.
constexpr qint64 kHashFirst = qint64{64} << 20;

// The desktop's launch feedback (a busy cursor, a "starting" entry) ends
// when the program it started shows its first window. Qt's platform plugins
// take these variables for the first window of this process, so they are
// kept from before Qt starts and handed on to the game, whose window that is.
class LaunchFeedback {
public:
    LaunchFeedback()
    {
        for (std::size_t i = 0; i < kNames.size(); ++i) {
            values_.at(i) = qgetenv(kNames.at(i));
        }
    }
    void handOn() const
    {
        for (std::size_t i = 0; i < kNames.size(); ++i) {
            if (!values_.at(i).isEmpty()) {
                qputenv(kNames.at(i), values_.at(i));
            }
        }
    }

private:
    static constexpr std::array<const char *, 2> kNames{"DESKTOP_STARTUP_ID", "XDG_ACTIVATION_TOKEN"};
    std::array<QByteArray, 2> values_;
};

// Said where a desktop user sees it, and where a script reads it.
int refuse(const QString &reason)
{
    std::fprintf(stderr, "slidane-tiles: %s\n", qUtf8Printable(reason));
    QMessageBox box(QMessageBox::Warning, QCoreApplication::translate("play", "Picture puzzle from a photo"),
        QCoreApplication::translate("play", "The picture puzzle cannot be started."), QMessageBox::Ok);
    box.setInformativeText(reason);
    // A message box is as wide as its text, and a window manager cuts a
    // title wider than the window: room for the title, in the larger bold
    // type that title bars often use, and the frame's icon and buttons.
    QFont titleFont = box.font();
    titleFont.setBold(true);
    titleFont.setPointSizeF(titleFont.pointSizeF() * 1.25);
    const QFontMetrics metrics(titleFont);
    if (auto *grid = qobject_cast<QGridLayout *>(box.layout())) {
        const int width = metrics.horizontalAdvance(box.windowTitle()) + 8 * metrics.height();
        grid->addItem(new QSpacerItem(width, 0, QSizePolicy::Minimum, QSizePolicy::Fixed), grid->rowCount(), 0, 1,
            grid->columnCount());
    }
    box.exec();
    return kFailed;
}

// The photo formats slidane-tiles reads, by the names phones, cameras and
// other programs give them, in either case.
QString photoFilter()
{
    QStringList patterns;
    for (const char *extension :
        {"jpg", "jpeg", "jpe", "jfif", "heic", "heif", "hif", "avif", "png", "webp", "tif", "tiff", "gif", "bmp"}) {
        patterns << QStringLiteral("*.") + QLatin1String(extension)
                 << QStringLiteral("*.") + QString::fromLatin1(extension).toUpper();
    }
    return QCoreApplication::translate("play", "Photos") + QStringLiteral(" (") + patterns.join(QLatin1Char(' '))
        + QLatin1Char(')');
}

// Qt's own file dialog, or the desktop's where the platform theme has one
// (through the portal, in a sandbox or where the theme asks for it); empty
// when the user cancels.
QString choosePhoto()
{
    const QString pictures = QStandardPaths::writableLocation(QStandardPaths::PicturesLocation);
    return QFileDialog::getOpenFileName(nullptr,
        QCoreApplication::translate("play", "Choose a photo for the picture puzzle"),
        QFileInfo(pictures).isDir() ? pictures : QDir::homePath(), photoFilter());
}

// The game's program: beside this one, as both are installed, or on PATH.
QString findGame()
{
    const QFileInfo beside(QCoreApplication::applicationDirPath() + QStringLiteral("/slidane"));
    if (beside.isFile() && beside.isExecutable()) {
        return beside.filePath();
    }
    return QStandardPaths::findExecutable(QStringLiteral("slidane"));
}

// Replaces this process by the game, started in `folder`; returns only on
// failure, with the reason.
QString startGame(const QString &game, const QString &folder, const LaunchFeedback &feedback)
{
    if (::chdir(QFile::encodeName(folder).constData()) != 0) {
        return QCoreApplication::translate("play", "%1: cannot open the folder (%2)").arg(folder, errorText(errno));
    }
    feedback.handOn();
    const QByteArray program = QFile::encodeName(game);
    char name[] = "slidane";
    char *const args[] = {name, nullptr};
    ::execv(program.constData(), args);
    return QCoreApplication::translate("play", "%1: cannot start the game (%2)").arg(game, errorText(errno));
}

// Reads the command line before a display is needed, so that help and
// wrong usage work without one, and in the user's language: Qt's own parser
// errors too. False with the status to exit with when play ends here.
bool readCommandLine(int argc, char *argv[], QString &photo, int &status)
{
    QCoreApplication app(argc, argv);
    loadTranslations(app);
    QCommandLineParser parser;
    const QCommandLineOption helpOption(QStringList{QStringLiteral("h"), QStringLiteral("help")});
    parser.addOption(helpOption);
    const bool parsed = parser.parse(QCoreApplication::arguments()); // the first operand is "play" itself
    if (parsed && parser.isSet(helpOption)) {
        std::printf("%s", qUtf8Printable(usage(Command::Play)));
        status = kDone;
        return false;
    }
    if (!parsed || parser.positionalArguments().size() > 2) {
        const QString problem = parsed ? QCoreApplication::translate("play", "play takes one PHOTO, and no more: %1")
                                             .arg(parser.positionalArguments().at(2))
                                       : parser.errorText();
        std::fprintf(stderr, "slidane-tiles: %s\n%s", qUtf8Printable(problem), qUtf8Printable(usage(Command::Play)));
        status = kWrongUsage;
        return false;
    }
    if (qEnvironmentVariableIsEmpty("DISPLAY") && qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY")
        && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        status = fail(QCoreApplication::translate(
            "play", "play needs a desktop session, and neither DISPLAY nor WAYLAND_DISPLAY is set"));
        return false;
    }
    photo = parser.positionalArguments().value(1);
    return true;
}

} // namespace

int runPlay(int argc, char *argv[])
{
    const LaunchFeedback feedback;
    QString photo;
    if (int status = kDone; !readCommandLine(argc, argv, photo, status)) {
        return status;
    }
    QApplication app(argc, argv);
    loadTranslations(app);
    QGuiApplication::setWindowIcon(QIcon::fromTheme(QStringLiteral(SLIDANE_APP_ID ".Photo")));
    if (photo.isEmpty()) {
        photo = choosePhoto();
        if (photo.isEmpty()) {
            return kFailed; // cancelled: nothing to say
        }
    }
    const QString game = findGame();
    if (game.isEmpty()) {
        return refuse(QCoreApplication::translate(
            "play", "The game slidane is not installed; install the package slidane to play the puzzle."));
    }
    const photo::PhotoFile file(photo);
    if (!file.problem().isEmpty()) {
        return refuse(file.problem());
    }
    // A file that is no photo, or too large to hash in a blink, is decoded
    // before it is hashed, so that it is refused at once.
    photo::Square square;
    if (file.format().isEmpty() || file.size() > kHashFirst) {
        if (square = photo::readSquare(file); square.picture.isNull()) {
            return refuse(square.error);
        }
    }
    QString error;
    const QString folder = photoset::folderFor(file, error);
    if (folder.isEmpty()) {
        return refuse(error);
    }
    if (!photoset::isWhole(folder)) {
        if (square.picture.isNull() && (square = photo::readSquare(file)).picture.isNull()) {
            return refuse(square.error);
        }
        // Replaces what an earlier run left there half done.
        if (const QString failed = tileset::make(square.picture, {folder, true}); !failed.isEmpty()) {
            return refuse(failed);
        }
    }
    return refuse(startGame(game, folder, feedback));
}
