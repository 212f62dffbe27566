// Times a whole new game as the Start button runs it: the deal and the
// sixteen tile files read from the current directory.
#include "frmmain.h"

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
