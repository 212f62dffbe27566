#include "cells.h"
#include "frmmain.h"
#include "modalcloser.h"
#include "picturebox.h"

#include <QAccessible>
#include <QGroupBox>
#include <QLabel>
#include <QProcess>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

#include <random>

using slidane::Board;

namespace {

QString cellName(int cell)
{
    return QStringLiteral("Picture_%1").arg(cell, 2, 10, QLatin1Char('0'));
}

Board gapInCell6()
{
    Board board = Board::solved();
    board(2, 2) = 0;
    board(4, 4) = 6;
    return board;
}

int tileIn(const frmMain &window, int cell)
{
    return window.game().board()(slidane::rowOfCell(cell), slidane::colOfCell(cell));
}

} // namespace

class FrmMainTest : public QObject {
    Q_OBJECT

private:
    PictureBox *cell(int k) { return window_->findChild<PictureBox *>(cellName(k)); }
    qint64 pictureKey(int k) { return cell(k)->picture().cacheKey(); }

    // Which picture shows which tile: read off a known Board.
    std::array<qint64, 16> keysByTile()
    {
        window_->setBoardForTest(Board::solved());
        std::array<qint64, 16> keys{};
        for (int k = 1; k <= 16; ++k) {
            keys[static_cast<std::size_t>(tileIn(*window_, k))] = pictureKey(k);
        }
        return keys;
    }

    void verifyPicturesFollowBoard(const std::array<qint64, 16> &keys)
    {
        for (int k = 1; k <= 16; ++k) {
            QCOMPARE(pictureKey(k), keys[static_cast<std::size_t>(tileIn(*window_, k))]);
        }
    }

    void click(int k) { QTest::mouseClick(cell(k), Qt::LeftButton, {}, QPoint(20, 20)); }

    std::unique_ptr<frmMain> window_;

    std::unique_ptr<ModalCloser> fatalErrors_;

private slots:
    void initTestCase() { fatalErrors_ = closeFatalErrorBoxes(); }

    void init()
    {
        window_ = std::make_unique<frmMain>();
        window_->show();
        QVERIFY(QTest::qWaitForWindowExposed(window_.get()));
    }

    void cleanup()
    {
        window_.reset();
        for (const QWidget *widget : QApplication::topLevelWidgets()) {
            QVERIFY2(!widget->isVisible(), qPrintable(widget->objectName()));
        }
    }

    void windowTitleSizeAndColour()
    {
        QCOMPARE(window_->objectName(), QStringLiteral("frmMain"));
        QCOMPARE(window_->windowTitle(), QStringLiteral("15 - Dlaždovka - Slidane"));
        QCOMPARE(window_->size(), QSize(277, 192));
        QCOMPARE(window_->minimumSize(), window_->maximumSize());
        QCOMPARE(window_->palette().color(QPalette::Window), QColor(192, 192, 192));
        QVERIFY(window_->font().bold());
        QCOMPARE(window_->font().pointSizeF(), 8.25);
    }

    void controlsStandWhereTheLayoutPutsThem()
    {
        auto *frame = window_->findChild<QGroupBox *>(QStringLiteral("frameMain"));
        QVERIFY(frame);
        QCOMPARE(frame->geometry(), QRect(8, 0, 177, 185));
        QVERIFY(frame->title().isEmpty());
        for (int k = 1; k <= 16; ++k) {
            PictureBox *box = cell(k);
            QVERIFY2(box, qPrintable(cellName(k)));
            QCOMPARE(box->parentWidget(), frame);
            const int col = slidane::colOfCell(k);
            const int row = slidane::rowOfCell(k);
            QCOMPARE(box->geometry(), QRect(8 + 40 * (col - 1), 16 + 40 * (row - 1), 41, 41));
            QVERIFY(box->isVisible());
        }
        const struct {
            const char *name;
            const char *caption;
            int top;
        } buttons[] = {{"cmdStart", "Start", 80}, {"cmdEnd", "End", 112}, {"cmdHelp", "Help", 144}};
        for (const auto &b : buttons) {
            auto *button = window_->findChild<QPushButton *>(QLatin1String(b.name));
            QVERIFY2(button, b.name);
            QCOMPARE(button->text(), QLatin1String(b.caption));
            QCOMPARE(button->geometry(), QRect(192, b.top, 81, 25));
            QVERIFY(!button->font().bold());
            QCOMPARE(button->font().pointSizeF(), 8.25);
            QVERIFY(button->geometry().right() < window_->width());
        }
        auto *hidden = window_->findChild<PictureBox *>(QStringLiteral("Picture_00"));
        QVERIFY(hidden);
        QCOMPARE(hidden->geometry(), QRect(192, 144, 41, 41));
        QVERIFY(hidden->isHidden());
        QCOMPARE(hidden->focusPolicy(), Qt::NoFocus);

        auto *preview = window_->findChild<QLabel *>(QStringLiteral("img15"));
        QVERIFY(preview);
        QCOMPARE(preview->geometry(), QRect(200, 8, 66, 66));
        QCOMPARE(preview->focusPolicy(), Qt::NoFocus);
    }

    void previewAndIconAreTheBuiltinPictures()
    {
        const QImage preview = window_->findChild<QLabel *>(QStringLiteral("img15"))->pixmap().toImage();
        QCOMPARE(preview.size(), QSize(66, 66));
        QCOMPARE(preview.pixelColor(0, 0), QColor(Qt::black));
        QCOMPARE(preview.pixelColor(2, 2), QColor(255, 0, 0));
        QCOMPARE(preview.pixelColor(50, 50), QColor(255, 255, 255));
        const QList<QSize> sizes = window_->windowIcon().availableSizes();
        QVERIFY(sizes.contains(QSize(16, 16)));
        QVERIFY(sizes.contains(QSize(32, 32)));
        const QImage small = window_->windowIcon().pixmap(QSize(16, 16)).toImage();
        QCOMPARE(small.pixelColor(0, 12), QColor(255, 255, 255));
        QCOMPARE(small.pixelColor(0, 0), QColor(255, 0, 0));
    }

    // Each cell is a button named after its tile and described by its place.
    void accessibleNamesSayWhatEachCellShows()
    {
        const auto verifyNames = [this] {
            for (int k = 1; k <= 16; ++k) {
                const int tile = tileIn(*window_, k);
                QAccessibleInterface *const box = QAccessible::queryAccessibleInterface(cell(k));
                QCOMPARE(box->text(QAccessible::Name),
                    tile == 0 ? QStringLiteral("Prázdné pole") : QStringLiteral("Dlaždice %1").arg(tile));
                QCOMPARE(box->text(QAccessible::Description),
                    QStringLiteral("řádek %1, sloupec %2").arg(slidane::rowOfCell(k)).arg(slidane::colOfCell(k)));
                QCOMPARE(box->role(), QAccessible::Button);
                QCOMPARE(box->actionInterface()->actionNames(),
                    (QStringList{
                        QAccessibleActionInterface::pressAction(), QAccessibleActionInterface::setFocusAction()}));
            }
        };
        verifyNames();
        window_->setBoardForTest(gapInCell6());
        verifyNames();
        ModalCloser closer;
        click(7);
        QCOMPARE(tileIn(*window_, 6), 7);
        verifyNames();
        QTest::mouseClick(window_->findChild<QPushButton *>(QStringLiteral("cmdStart")), Qt::LeftButton);
        verifyNames();

        for (const char *caption : {"Start", "End", "Help"}) {
            auto *button = window_->findChild<QPushButton *>(QStringLiteral("cmd") + QLatin1String(caption));
            QCOMPARE(QAccessible::queryAccessibleInterface(button)->text(QAccessible::Name), QLatin1String(caption));
        }
        auto *preview = window_->findChild<QLabel *>(QStringLiteral("img15"));
        QCOMPARE(QAccessible::queryAccessibleInterface(preview)->text(QAccessible::Description), preview->toolTip());
    }

    void accessibleWindowListsOnlyTheShownControls()
    {
        QWidget box(window_.get(), Qt::Dialog); // a window of its own, as the win and help boxes are
        box.show();
        QAccessibleInterface *const frame = QAccessible::queryAccessibleInterface(window_.get());
        QCOMPARE(frame->role(), QAccessible::Window);
        QStringList shown;
        for (int i = 0; i < frame->childCount(); ++i) {
            QCOMPARE(frame->indexOfChild(frame->child(i)), i);
            shown << frame->child(i)->object()->objectName();
        }
        QCOMPARE(shown.join(QLatin1Char(' ')), QLatin1String("frameMain cmdHelp cmdEnd cmdStart img15"));
        QCOMPARE(frame->child(frame->childCount()), nullptr);
        QCOMPARE(frame->child(-1), nullptr);
        QCOMPARE(frame->indexOfChild(nullptr), -1);
        QCOMPARE(frame->indexOfChild(QAccessible::queryAccessibleInterface(cell(0))), -1);
    }

    // Press clicks the cell once the action has returned; SetFocus stays Qt's.
    void pressOnACellClicksItAfterTheActionReturns()
    {
        window_->setBoardForTest(gapInCell6());
        ModalCloser closer;
        const auto act = [this](int k, const QString &action) {
            QAccessible::queryAccessibleInterface(cell(k))->actionInterface()->doAction(action);
        };
        act(16, QAccessibleActionInterface::pressAction());
        act(7, QAccessibleActionInterface::pressAction());
        QVERIFY(window_->game().board() == gapInCell6());
        QTRY_COMPARE(tileIn(*window_, 6), 7);
        QCOMPARE(tileIn(*window_, 16), 6);
        act(3, QAccessibleActionInterface::setFocusAction());
        QCOMPARE(window_->focusWidget(), cell(3));
    }

    void previewTooltipIsTheSixtyCharacterSentence()
    {
        const QString tip = window_->findChild<QLabel *>(QStringLiteral("img15"))->toolTip();
        QCOMPARE(tip, QStringLiteral("Takto vypadá vyřešený hlavolam \"(15) - Dlaždovka - Slidane\"."));
        QCOMPARE(tip.size(), 60);
    }

    void tabVisitsCellsInReadingOrderThenTheButtons()
    {
        QApplication::setActiveWindow(window_.get());
        QVERIFY(QTest::qWaitForWindowActive(window_.get()));
        cell(1)->setFocus();
        QStringList visited{QApplication::focusWidget()->objectName()};
        for (int i = 0; i < 19; ++i) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            visited << QApplication::focusWidget()->objectName();
        }
        QStringList expected;
        for (int k = 1; k <= 16; ++k) {
            expected << cellName(k);
        }
        expected << QStringLiteral("cmdStart") << QStringLiteral("cmdEnd") << QStringLiteral("cmdHelp") << cellName(1);
        QCOMPARE(visited, expected);
    }

    void startupDealsAShuffledBoardWithPictures()
    {
        const Board &board = window_->game().board();
        std::array<int, 16> seen{};
        for (int k = 1; k <= 16; ++k) {
            ++seen[static_cast<std::size_t>(tileIn(*window_, k))];
            QVERIFY(!cell(k)->picture().isNull());
        }
        for (const int count : seen) {
            QCOMPARE(count, 1);
        }
        QCOMPARE(board(window_->game().row(), window_->game().col()), 0);
    }

    void clickBesideTheGapMovesTileAndPicture()
    {
        const auto keys = keysByTile();
        const qint64 gapPicture = keys[0];
        const qint64 tile12 = keys[12];
        ModalCloser closer;
        click(12);
        QCOMPARE(tileIn(*window_, 12), 0);
        QCOMPARE(tileIn(*window_, 16), 12);
        QCOMPARE(pictureKey(16), tile12);
        QCOMPARE(pictureKey(12), gapPicture);
        QCOMPARE(window_->findChild<PictureBox *>(QStringLiteral("Picture_00"))->picture().cacheKey(), gapPicture);
        verifyPicturesFollowBoard(keys);
        QVERIFY(closer.records().empty());
    }

    void clicksOnFarTilesAndOnTheGapChangeNothing()
    {
        const auto keys = keysByTile();
        window_->setBoardForTest(gapInCell6());
        ModalCloser closer;
        for (const int k : {1, 3, 6, 9, 11, 16}) {
            click(k);
            QVERIFY2(window_->game().board() == gapInCell6(), qPrintable(cellName(k)));
            verifyPicturesFollowBoard(keys);
        }
        QVERIFY(closer.records().empty());
    }

    void pressWithoutReleaseOnTheSameCellIsNoClick()
    {
        window_->setBoardForTest(Board::solved());
        QTest::mousePress(cell(12), Qt::LeftButton, {}, QPoint(20, 20));
        QTest::mouseRelease(cell(12), Qt::LeftButton, {}, QPoint(60, 20));
        QTest::mouseClick(cell(12), Qt::RightButton, {}, QPoint(20, 20));
        QVERIFY(window_->game().board() == Board::solved());
    }

    void solvedBoardShowsTheWinBoxOnEveryClick()
    {
        window_->setBoardForTest(Board::solved());
        ModalCloser closer;
        click(16);
        click(1);
        QCOMPARE(closer.records().size(), 2u);
        for (const auto &box : closer.records()) {
            QCOMPARE(box.title, QStringLiteral("15 - Dlaždovka - Slidane"));
            QCOMPARE(box.text, QStringLiteral("Vyhrál(a) jste !!!"));
            QCOMPARE(box.icon, QMessageBox::Information);
            QCOMPARE(box.buttons.size(), 1);
        }
        click(12); // tile 12 down: 14 at home, no box
        QCOMPARE(closer.records().size(), 2u);
        click(16); // and back up: solved again
        QCOMPARE(closer.records().size(), 3u);
        QVERIFY(window_->game().board() == Board::solved());
        QCOMPARE(QApplication::activeModalWidget(), nullptr);
    }

    void picturesFollowTheBoardThroughRandomPlay()
    {
        const auto keys = keysByTile();
        ModalCloser closer;
        std::mt19937 clicks(7);
        std::uniform_int_distribution<int> anyCell(1, 16);
        for (int i = 0; i < 300; ++i) {
            click(anyCell(clicks));
            verifyPicturesFollowBoard(keys);
        }
        QCOMPARE(window_->game().row(), 5);
        QCOMPARE(window_->game().col(), 5);
    }

    void helpShowsSevenLinesAndChangesNothing()
    {
        const Board before = window_->game().board();
        ModalCloser closer;
        QTest::mouseClick(window_->findChild<QPushButton *>(QStringLiteral("cmdHelp")), Qt::LeftButton);
        QCOMPARE(closer.records().size(), 1u);
        const auto &box = closer.records().front();
        QCOMPARE(box.title, QStringLiteral("15 - Dlaždovka - Slidane"));
        QCOMPARE(box.icon, QMessageBox::Information);
        QCOMPARE(box.buttons.size(), 1);
        QCOMPARE(box.text.count(QChar(10)), 6);
        const QStringList lines = box.text.split(QChar(10));
        QCOMPARE(lines.size(), 7);
        QCOMPARE(lines[0], QStringLiteral("(15) - Dlaždovka - Slidane"));
        QVERIFY(lines[1].isEmpty());
        QCOMPARE(lines[2], QStringLiteral("Cílem hry je uspořádat čísla vzestupně nebo složit obrázek."));
        QVERIFY(lines[3].isEmpty());
        for (int i = 4; i < 7; ++i) {
            QVERIFY(!lines[i].trimmed().isEmpty());
        }
        QVERIFY(lines[5].contains(QStringLiteral("://")));
        QVERIFY(lines[6].contains(QLatin1Char('@')));
        QVERIFY(window_->game().board() == before);
    }

    void startDealsAFreshGameEachTime()
    {
        const auto keys = keysByTile();
        auto *start = window_->findChild<QPushButton *>(QStringLiteral("cmdStart"));
        ModalCloser closer;
        std::vector<Board> boards{window_->game().board()};
        for (int i = 0; i < 3; ++i) {
            QTest::mouseClick(start, Qt::LeftButton);
            QVERIFY(window_->game().board() != boards.back());
            boards.push_back(window_->game().board());
            verifyPicturesFollowBoard(keys);
        }
        QVERIFY2(closer.records().empty(), "a new game is not checked until the first click");
    }

    void anErrorInAHandlerIsReportedAndEndsTheProgram_data()
    {
        QTest::addColumn<QString>("mode");
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("box");
        QTest::newRow("a standard exception") << QString() << QStringLiteral("zkušební chyba") << true;
        QTest::newRow("any other exception") << QStringLiteral("other") << QStringLiteral("neznámá chyba") << true;
        QTest::newRow("no memory left for the box")
            << QStringLiteral("nobox") << QStringLiteral("zkušební chyba") << false;
    }

    void anErrorInAHandlerIsReportedAndEndsTheProgram()
    {
        QFETCH(QString, mode);
        QFETCH(QString, text);
        QFETCH(bool, box);
        QProcess probe;
        probe.start(QStringLiteral(FATAL_PROBE_PATH), mode.isEmpty() ? QStringList() : QStringList{mode});
        QVERIFY(probe.waitForFinished(30000));
        QCOMPARE(probe.exitStatus(), QProcess::NormalExit);
        QCOMPARE(probe.exitCode(), 1);
        const QString err = QString::fromUtf8(probe.readAllStandardError());
        QVERIFY2(err.contains(QStringLiteral("slidane: Chyba: ") + text), qPrintable(err));
        const QString out = QString::fromUtf8(probe.readAllStandardOutput());
        if (box) {
            QVERIFY2(out.contains(QStringLiteral("title=15 - Dlaždovka - Slidane")), qPrintable(out));
            QVERIFY2(out.contains(QStringLiteral("text=Chyba: ") + text), qPrintable(out));
            QVERIFY2(out.contains(QStringLiteral("buttons=1")), qPrintable(out));
        } else {
            QVERIFY2(out.isEmpty(), qPrintable(out));
        }
    }

    // Last: ending the program leaves the application's loops quitting.
    void endEndsTheProgramWithStatusZero()
    {
        auto *end = window_->findChild<QPushButton *>(QStringLiteral("cmdEnd"));
        QTimer::singleShot(0, end, [end] { QTest::mouseClick(end, Qt::LeftButton); });
        QTimer::singleShot(10000, [] { QApplication::exit(99); });
        QEventLoop loop;
        QCOMPARE(loop.exec(), 0);
    }
};

QTEST_MAIN(FrmMainTest)
#include "frmmain_test.moc"
