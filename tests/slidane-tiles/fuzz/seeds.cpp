// Writes the JPEG layout fuzzer's seeds: a photo stored baseline and
// progressive, one with a trailer after its end marker (as motion photos
// have), and one cut short inside its image data.
#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QImageWriter>

#include <cstdio>

namespace {

QByteArray jpeg(bool progressive)
{
    QImage image(48, 32, QImage::Format_RGB32);
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            image.setPixel(x, y, qRgb(5 * x, 7 * y, 3 * (x + y)));
        }
    }
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "jpeg");
    writer.setProgressiveScanWrite(progressive);
    writer.setOptimizedWrite(progressive);
    return writer.write(image) ? buffer.data() : QByteArray();
}

bool write(const QDir &dir, const QString &name, const QByteArray &bytes)
{
    QFile file(dir.filePath(name));
    return !bytes.isEmpty() && file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

} // namespace

int main(int argc, char *argv[])
{
    if (argc != 2 || !QDir().mkpath(QString::fromLocal8Bit(argv[1]))) {
        std::fprintf(stderr, "usage: jpegseeds FOLDER\n");
        return 2;
    }
    const QDir dir(QString::fromLocal8Bit(argv[1]));
    const QByteArray baseline = jpeg(false);
    bool ok = write(dir, QStringLiteral("baseline.jpg"), baseline);
    ok = write(dir, QStringLiteral("progressive.jpg"), jpeg(true)) && ok;
    ok = write(dir, QStringLiteral("trailer.jpg"), baseline + QByteArray("ftypmp42\xFF\xD8\xFF\xD9", 12)) && ok;
    ok = write(dir, QStringLiteral("cut.jpg"), baseline.left(baseline.size() * 2 / 3)) && ok;
    return ok ? 0 : 1;
}
