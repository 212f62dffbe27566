// Times slidane-tiles' jobs on a 4000 x 3000 camera-sized JPEG: its square
// decoded in this process and in the confined decoder process, side by
// side, the set written, and a check of a full folder.
#include "decoderprocess.h"
#include "photofile.h"
#include "tileset.h"

#include <QCoreApplication>
#include <QFile>
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

QImage squareOf(const QString &photo)
{
    return photo::readSquare(photo::PhotoFile(photo), QStringLiteral(SLIDANE_TILES_PROGRAM)).picture;
}

void decodeA12MegapixelJpegInProcess(benchmark::State &state)
{
    QTemporaryDir dir;
    const photo::PhotoFile photo(writePhoto(dir));
    for (auto _ : state) {
        QFile file;
        file.open(photo.descriptor(), QIODevice::ReadOnly);
        file.seek(0);
        if (photo::decodeSquare(file, photo.path()).picture.isNull()) {
            state.SkipWithError("not decoded");
        }
    }
}
BENCHMARK(decodeA12MegapixelJpegInProcess)->Unit(benchmark::kMillisecond)->UseRealTime();

void decodeA12MegapixelJpegInDecoderProcess(benchmark::State &state)
{
    QTemporaryDir dir;
    const photo::PhotoFile photo(writePhoto(dir));
    for (auto _ : state) {
        const photo::Square square = photo::readSquare(photo, QStringLiteral(SLIDANE_TILES_PROGRAM));
        if (square.picture.isNull()) {
            state.SkipWithError(qPrintable(square.error));
        }
    }
}
BENCHMARK(decodeA12MegapixelJpegInDecoderProcess)->Unit(benchmark::kMillisecond)->UseRealTime();

void writeASet(benchmark::State &state)
{
    QTemporaryDir dir;
    const QImage square = squareOf(writePhoto(dir));
    const tileset::MakeOptions options{dir.filePath(QStringLiteral("set")), true};
    for (auto _ : state) {
        if (const QString error = tileset::make(square, options); !error.isEmpty()) {
            state.SkipWithError(qPrintable(error));
        }
    }
}
BENCHMARK(writeASet)->Unit(benchmark::kMillisecond);

void checkAFullFolder(benchmark::State &state)
{
    QTemporaryDir dir;
    if (const QString error = tileset::make(squareOf(writePhoto(dir)), {dir.path(), true}); !error.isEmpty()) {
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
