#include "cells.h"
#include "frmmain.h"
#include "modalcloser.h"
#include "picturebox.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>

#include <memory>

using slidane::Board;

namespace {

// Each tile file gets a colour of its own, so a cell tells which file it shows.
QColor fileColour(int tile)
{
    return QColor(10 * tile, 100, 200);
}

// Writes tile's picture under `name`, by default its own "N.bmp".
void writeTileFile(const QString &folder, int tile, QString name = {})
{
    QImage image(38, 38, QImage::Format_RGB32);
    image.fill(fileColour(tile));
    if (name.isEmpty()) {
        name = QStringLiteral("%1.bmp").arg(tile);
    }
    QVERIFY(image.save(folder + QLatin1Char('/') + name, "BMP"));
}

void writeAllTileFiles(const QString &folder)
{
    for (int tile = 0; tile < 16; ++tile) {
        writeTileFile(folder, tile);
    }
}

void writeText(const QString &path, const QByteArray &text)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(text);
}

// A bitmap header that claims 100000 x 100000 pixels over a few bytes.
QByteArray hugeHeaderBitmap()
{
    QByteArray b(54 + 16, '\0');
    const auto put32 = [&b](int at, quint32 v) {
        for (int i = 0; i < 4; ++i) {
            b[at + i] = static_cast<char>((v >> (8 * i)) & 0xFF);
        }
    };
    b[0] = 'B';
    b[1] = 'M';
    put32(2, static_cast<quint32>(b.size()));
    put32(10, 54);
    put32(14, 40);
    put32(18, 100000);
    put32(22, 100000);
    b[26] = 1;
    b[28] = 24;
    return b;
}

} // namespace

class TileFilesTest : public QObject {
    Q_OBJECT

private:
    PictureBox *cell(int k)
    {
        return window_->findChild<PictureBox *>(QStringLiteral("Picture_%1").arg(k, 2, 10, QLatin1Char('0')));
    }

    int tileIn(int k) const { return window_->game().board()(slidane::rowOfCell(k), slidane::colOfCell(k)); }

    QColor shownColour(int k) { return cell(k)->picture().toImage().pixelColor(2, 2); }

    void startGame()
    {
        window_ = std::make_unique<frmMain>();
        window_->show();
    }

    void pressStart()
    {
        QTest::mouseClick(window_->findChild<QPushButton *>(QStringLiteral("cmdStart")), Qt::LeftButton);
    }

    bool showsFiles()
    {
        for (int k = 1; k <= 16; ++k) {
            if (shownColour(k) != fileColour(tileIn(k))) {
                return false;
            }
        }
        return true;
    }

    bool showsBuiltinSet()
    {
        for (int k = 1; k <= 16; ++k) {
            const QColor want = tileIn(k) == 0 ? QColor(192, 192, 192) : QColor(255, 0, 0);
            if (shownColour(k) != want || cell(k)->picture().size() != QSize(38, 38)) {
                return false;
            }
        }
        return true;
    }

    // Some unreadable 4.bmp beside fifteen good files: the game must start at
    // once with the built-in set.
    void verifyBuiltinWithin(const char *what)
    {
        QElapsedTimer clock;
        clock.start();
        startGame();
        QVERIFY2(clock.elapsed() < 5000, what);
        QVERIFY2(showsBuiltinSet(), what);
    }

    QString dir() const { return work_->path(); }

    std::unique_ptr<QTemporaryDir> work_;
    QString previousDir_;
    std::unique_ptr<frmMain> window_;

    std::unique_ptr<ModalCloser> fatalErrors_;

private slots:
    void initTestCase() { fatalErrors_ = closeFatalErrorBoxes(); }

    void init()
    {
        work_ = std::make_unique<QTemporaryDir>();
        QVERIFY(work_->isValid());
        previousDir_ = QDir::currentPath();
        QVERIFY(QDir::setCurrent(dir()));
    }

    void cleanup()
    {
        window_.reset();
        QDir::setCurrent(previousDir_);
        work_.reset();
    }

    void noFilesGivesTheBuiltinSet()
    {
        startGame();
        QVERIFY(showsBuiltinSet());
    }

    void allSixteenFilesShowInTheCellsOfTheirTiles()
    {
        writeAllTileFiles(dir());
        startGame();
        QVERIFY(showsFiles());
        pressStart();
        QVERIFY(showsFiles());
        // The pictures travel with the tiles.
        window_->setBoardForTest(Board::solved());
        ModalCloser closer;
        QTest::mouseClick(cell(12), Qt::LeftButton);
        QCOMPARE(shownColour(16), fileColour(12));
        QCOMPARE(shownColour(12), fileColour(0));
    }

    void oneFileMissingGivesTheBuiltinSetEverywhere_data()
    {
        QTest::addColumn<int>("missing");
        QTest::newRow("0.bmp") << 0;
        QTest::newRow("9.bmp") << 9;
        QTest::newRow("15.bmp") << 15;
    }

    void oneFileMissingGivesTheBuiltinSetEverywhere()
    {
        QFETCH(int, missing);
        writeAllTileFiles(dir());
        QVERIFY(QFile::remove(dir() + QStringLiteral("/%1.bmp").arg(missing)));
        startGame();
        QVERIFY(showsBuiltinSet());
        // Also when the missing tile stands in the last cell, after fifteen
        // files have loaded.
        Board board = Board::solved();
        std::swap(board(4, 4),
            board(slidane::rowOfCell(missing == 0 ? 16 : missing), slidane::colOfCell(missing == 0 ? 16 : missing)));
        window_->setBoardForTest(board);
        QCOMPARE(tileIn(16), missing);
        QVERIFY(showsBuiltinSet());
    }

    void aTextFileIsNoPicture()
    {
        writeAllTileFiles(dir());
        writeText(dir() + QStringLiteral("/3.bmp"), "not a picture\n");
        startGame();
        QVERIFY(showsBuiltinSet());
    }

    void onlyTheBareNumberNamesAreRead()
    {
        writeAllTileFiles(dir());
        writeText(dir() + QStringLiteral("/07.bmp"), "junk");
        writeText(dir() + QStringLiteral("/16.bmp"), "junk");
        startGame();
        QVERIFY(showsFiles());
        window_.reset();

        QVERIFY(QFile::remove(dir() + QStringLiteral("/7.bmp")));
        QVERIFY(QFile::remove(dir() + QStringLiteral("/07.bmp")));
        writeTileFile(dir(), 7, QStringLiteral("07.bmp"));
        startGame();
        QVERIFY2(showsBuiltinSet(), "a good 07.bmp does not stand in for 7.bmp");
    }

    void filesComeFromTheCurrentDirectoryAtEachNewGame()
    {
        writeAllTileFiles(dir());
        startGame();
        QVERIFY(showsFiles());
        QTemporaryDir elsewhere;
        QVERIFY(QDir::setCurrent(elsewhere.path()));
        pressStart();
        QVERIFY(showsBuiltinSet());
        QVERIFY(QDir::setCurrent(dir()));
        pressStart();
        QVERIFY(showsFiles());
    }

    void aFileRemovedMidGameCountsFromTheNextGame()
    {
        writeAllTileFiles(dir());
        startGame();
        QVERIFY(QFile::remove(dir() + QStringLiteral("/5.bmp")));
        QVERIFY(showsFiles());
        pressStart();
        QVERIFY(showsBuiltinSet());
    }

    void unreadableKindsOfFileNeitherBlockNorCrash()
    {
        writeAllTileFiles(dir());
        const QString four = dir() + QStringLiteral("/4.bmp");

        QVERIFY(QFile::remove(four));
        QCOMPARE(::mkfifo(QFile::encodeName(four).constData(), 0600), 0);
        verifyBuiltinWithin("a named pipe with no writer");
        window_.reset();

        QVERIFY(QFile::remove(four));
        QVERIFY(QDir(dir()).mkdir(QStringLiteral("4.bmp")));
        verifyBuiltinWithin("a folder");
        window_.reset();

        QVERIFY(QDir(dir()).rmdir(QStringLiteral("4.bmp")));
        QVERIFY(QFile::link(QStringLiteral("/dev/zero"), four));
        verifyBuiltinWithin("a link to an endless device");
        window_.reset();

        // A sysfs file says 4096 bytes and holds fewer, as a file that
        // shrinks while it is read does.
        QVERIFY(QFile::remove(four));
        QVERIFY(QFile::link(QStringLiteral("/sys/devices/system/cpu/online"), four));
        verifyBuiltinWithin("a file shorter than its size says");
        window_.reset();

        QVERIFY(QFile::remove(four));
        writeText(four, hugeHeaderBitmap());
        verifyBuiltinWithin("a header claiming 100000 x 100000 pixels");
        window_.reset();

        QVERIFY(QFile::remove(four));
        writeText(four, QByteArray(9 * 1024 * 1024, 'B'));
        verifyBuiltinWithin("a file of 9 MiB");
        window_.reset();

        QVERIFY(QFile::remove(four));
        QByteArray cut;
        {
            QFile good(dir() + QStringLiteral("/5.bmp"));
            QVERIFY(good.open(QIODevice::ReadOnly));
            cut = good.read(100);
        }
        writeText(four, cut);
        verifyBuiltinWithin("a bitmap cut short");
    }

    void aLargerPictureIsDrawnFromItsCornerAndClipped()
    {
        writeAllTileFiles(dir());
        QImage big(60, 60, QImage::Format_RGB32);
        big.fill(Qt::blue);
        big.setPixelColor(0, 0, Qt::green);
        big.setPixelColor(37, 37, Qt::yellow);
        QVERIFY(big.save(dir() + QStringLiteral("/1.bmp"), "BMP"));
        startGame();
        window_->setBoardForTest(Board::solved());
        const QImage shown = cell(1)->grab().toImage();
        QCOMPARE(shown.size(), QSize(41, 41));
        // The picture starts inside the border, unscaled, and stops at it.
        QCOMPARE(shown.pixelColor(1, 1), QColor(Qt::green));
        QCOMPARE(shown.pixelColor(38, 38), QColor(Qt::yellow));
        QCOMPARE(shown.pixelColor(39, 39), QColor(Qt::blue));
        QCOMPARE(shown.pixelColor(40, 40), QColor(Qt::black));
        QCOMPARE(shown.pixelColor(0, 20), QColor(Qt::black));
    }
};

QTEST_MAIN(TileFilesTest)
#include "tilefiles_test.moc"
