// Writes the fuzzer's seed bitmaps: every header version with every depth
// and compression it can carry, top-down and bottom-up, and run-length
// files that use each kind of code.
#include "../bitmapbuilder.h"

#include <QDir>
#include <QFile>

#include <cstdio>

namespace {

bool write(const QDir &dir, const QString &name, const QByteArray &bytes)
{
    QFile file(dir.filePath(name));
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

} // namespace

int main(int argc, char *argv[])
{
    if (argc != 2 || !QDir().mkpath(QString::fromLocal8Bit(argv[1]))) {
        std::fprintf(stderr, "usage: fuzzseeds FOLDER\n");
        return 2;
    }
    const QDir dir(QString::fromLocal8Bit(argv[1]));
    bool ok = true;
    for (const quint32 header : {12u, 16u, 40u, 52u, 56u, 64u, 108u, 124u}) {
        for (const quint16 bits : {1, 2, 4, 8, 16, 24, 32}) {
            for (const quint32 compression : {0u, 3u, 6u}) {
                if (compression != 0 && (bits < 16 || header == 12 || header == 16 || header == 64)) {
                    continue;
                }
                BitmapBuilder b;
                b.headerSize = header;
                b.width = 5;
                b.height = header == 12 ? 3 : -3;
                b.bits = bits;
                b.compression = compression;
                if (bits <= 8) {
                    b.palette = {0xFFFF0000, 0xFF00FF00, 0xFF0000FF, 0xFFFFFFFF};
                }
                if (compression != 0) {
                    b.masks = {0xF800, 0x07E0, 0x001F, 0};
                    if (bits == 32) {
                        b.masks = {0xFF0000, 0xFF00, 0xFF, 0xFF000000};
                    }
                    if (compression == 3) {
                        b.masks.resize(header == 52 || header == 40 ? 3 : 4);
                    }
                }
                for (int y = 0; y < 3; ++y) {
                    QByteArray row;
                    for (int i = 0; i < (5 * bits + 7) / 8; ++i) {
                        row.append(static_cast<char>(0x35 * (i + y + 1)));
                    }
                    b.pixels += paddedRow(row);
                }
                ok = write(dir, QStringLiteral("h%1-b%2-c%3.bmp").arg(header).arg(bits).arg(compression), b.bytes())
                    && ok;
            }
        }
    }
    // Runs, a delta, an end of line, absolute pixels and the end of the bitmap.
    const QByteArray codes("\x03\x01\x00\x02\x01\x01\x02\x12\x00\x00\x00\x03\x12\x30\x00\x00\x00\x01", 18);
    for (const quint32 compression : {1u, 2u}) {
        BitmapBuilder b;
        b.width = 6;
        b.height = 4;
        b.bits = compression == 1 ? 8 : 4;
        b.compression = compression;
        b.palette = {0xFFFF0000, 0xFF00FF00, 0xFF0000FF};
        b.pixels = codes;
        ok = write(dir, QStringLiteral("rle%1.bmp").arg(b.bits), b.bytes()) && ok;
    }
    return ok ? 0 : 1;
}
