// Writes the desktop icons that an installed game needs from the icon's two
// images: hicolor PNGs at 16 and 32 pixels and at 64, 128 and 256 pixels
// scaled up from the 32-pixel image by whole factors without smoothing, and
// a macOS .icns holding the same pictures.
// Usage: iconexport ASSETS_DIR OUTPUT_DIR ICON_NAME
#include <QBuffer>
#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QtEndian>

#include <cstdio>
#include <utility>
#include <vector>

namespace {

QByteArray png(const QImage &image)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return bytes;
}

void appendBigEndian(QByteArray &out, quint32 value)
{
    char bytes[4];
    qToBigEndian(value, bytes);
    out.append(bytes, 4);
}

// An .icns file: "icns", its length, then (type, length, PNG) entries.
QByteArray icns(const std::vector<std::pair<const char *, QImage>> &entries)
{
    QByteArray body;
    for (const auto &[type, image] : entries) {
        const QByteArray data = png(image);
        body.append(type, 4);
        appendBigEndian(body, static_cast<quint32>(8 + data.size()));
        body.append(data);
    }
    QByteArray file("icns");
    appendBigEndian(file, static_cast<quint32>(8 + body.size()));
    return file + body;
}

bool writeFile(const QString &path, const QByteArray &bytes)
{
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

} // namespace

int main(int argc, char *argv[])
{
    if (argc != 4) {
        std::fprintf(stderr, "usage: %s ASSETS_DIR OUTPUT_DIR ICON_NAME\n", argv[0]);
        return 2;
    }
    const QString assets = QString::fromLocal8Bit(argv[1]);
    const QString out = QString::fromLocal8Bit(argv[2]);
    const QString name = QString::fromLocal8Bit(argv[3]);
    const QImage small(assets + QStringLiteral("/icon_16.bmp"));
    const QImage large(assets + QStringLiteral("/icon_32.bmp"));
    if (small.size() != QSize(16, 16) || large.size() != QSize(32, 32)) {
        std::fprintf(stderr, "%s: the icon images are missing from %s\n", argv[0], argv[1]);
        return 1;
    }
    const auto scaled = [&large](int side) {
        return large.scaled(side, side, Qt::IgnoreAspectRatio, Qt::FastTransformation);
    };
    const std::vector<std::pair<int, QImage>> sizes = {
        {16, small}, {32, large}, {64, scaled(64)}, {128, scaled(128)}, {256, scaled(256)}};

    bool ok = true;
    for (const auto &[side, image] : sizes) {
        const QString path = QStringLiteral("%1/hicolor/%2x%2/apps/%3.png").arg(out).arg(side).arg(name);
        ok = writeFile(path, png(image)) && ok;
    }
    ok = writeFile(out + QLatin1Char('/') + name + QStringLiteral(".icns"),
             icns({{"icp4", small}, {"icp5", large}, {"ic07", scaled(128)}, {"ic08", scaled(256)}}))
        && ok;
    if (!ok) {
        std::fprintf(stderr, "%s: could not write into %s\n", argv[0], argv[2]);
        return 1;
    }
    return 0;
}
