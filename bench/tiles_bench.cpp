// Times slidane-tiles' two jobs: a set made from a 4000 x 3000 camera-sized
// JPEG, and a check of a full folder.
#include "tileset.h"

#include <QCoreApplication>
#include <QImage>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

namespace {

// A photo-like picture: smooth gradients with some detail, so that the JPEG
// is of a realistic size.
QString writePhoto(const QTemporaryDir &dir)
{
    QImage photo(4000, 3000, QImage::Format_RGB32);
    for (int y = 0; y < photo.height(); ++y) {
        auto *line = reinterpret_cast<QRgb *>(photo.scanLine(y));
        for (int x = 0; x < photo.width(); ++x) {
            line[x] = qRgb(x * 255 / 4000, y * 255 / 3000, (x ^ y) & 0xFF);
        }
    }
    const QString path = dir.filePath(QStringLiteral("photo.jpg"));
    photo.save(path, "JPEG", 90);
    return path;
}

void makeFromA12MegapixelJpeg(benchmark::State &state)
{
    QTemporaryDir dir;
    const tileset::MakeOptions options{writePhoto(dir), dir.filePath(QStringLiteral("set")), true};
    for (auto _ : state) {
        const QString error = tileset::make(options);
        if (!error.isEmpty()) {
            state.SkipWithError(qPrintable(error));
        }
    }
}
BENCHMARK(makeFromA12MegapixelJpeg)->Unit(benchmark::kMillisecond);

void checkAFullFolder(benchmark::State &state)
{
    QTemporaryDir dir;
    const tileset::MakeOptions options{writePhoto(dir), dir.path(), true};
    if (const QString error = tileset::make(options); !error.isEmpty()) {
        state.SkipWithError(qPrintable(error));
        return;
    }
    for (auto _ : state) {
        benchmark::DoNotOptimize(tileset::check(dir.path()));
    }
}
BENCHMARK(checkAFullFolder)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv); // finds the JPEG plugin
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
