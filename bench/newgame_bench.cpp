// Times what the window does for the player: a whole new game as the Start
// button runs it (the deal and the sixteen tile files read from the current
// directory), and clicks on the cells.
#include "frmmain.h"
#include "picturebox.h"

#include <QApplication>
#include <QDir>
#include <QImage>
#include <QPushButton>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

namespace {

void newGameWithTileFiles(benchmark::State &state)
{
    QTemporaryDir folder;
    for (int tile = 0; tile < 16; ++tile) {
        QImage picture(38, 38, QImage::Format_Indexed8);
        picture.setColorTable({qRgb(192, 192, 192), qRgb(255, 0, 0), qRgb(4, 0, 0)});
        picture.fill(tile == 0 ? 0 : 1);
        picture.save(folder.path() + QStringLiteral("/%1.bmp").arg(tile), "BMP");
    }
    const QString previous = QDir::currentPath();
    QDir::setCurrent(folder.path());
    {
        frmMain window;
        auto *start = window.findChild<QPushButton *>(QStringLiteral("cmdStart"));
        for (auto _ : state) {
            start->click();
        }
    }
    QDir::setCurrent(previous);
}
BENCHMARK(newGameWithTileFiles)->Unit(benchmark::kMicrosecond);

// Three clicks as the cells' handlers run them: tile 12 down into the gap,
// back up, and a click on a far cell that moves nothing. Tiles 1 and 2 stand
// exchanged, so no click ever opens the win box.
void cellClicks(benchmark::State &state)
{
    frmMain window;
    slidane::Board board = slidane::Board::solved();
    board(1, 1) = 2;
    board(1, 2) = 1;
    window.setBoardForTest(board);
    auto *const cell12 = window.findChild<PictureBox *>(QStringLiteral("Picture_12"));
    auto *const cell16 = window.findChild<PictureBox *>(QStringLiteral("Picture_16"));
    auto *const cell01 = window.findChild<PictureBox *>(QStringLiteral("Picture_01"));
    for (auto _ : state) {
        cell12->click();
        cell16->click();
        cell01->click();
    }
}
BENCHMARK(cellClicks)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char *argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
