#include "photo.h"

#include "heifphoto.h"
#include "tileset.h"

#include <QColorSpace>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QPainter>
#include <QStringList>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>

namespace photo {
namespace {

constexpr int kSide = tileset::kPhotoSide;
const QColor kBoardGrey(192, 192, 192);

QString megapixels(qint64 pixels)
{
    return QString::number(static_cast<double>(pixels) / 1e6, 'f', pixels < 10'000'000 ? 1 : 0);
}

QString tooLarge(const QString &path, const QString &kind, QSize size)
{
    return QStringLiteral("%1: the %2 picture is %3 x %4 pixels (%5 megapixels), over the limit of %6 megapixels "
                          "for %2 pictures")
        .arg(path, kind)
        .arg(size.width())
        .arg(size.height())
        .arg(megapixels(qint64{size.width()} * size.height()), megapixels(kPixelBudget));
}

QString unsupported(const QString &path)
{
    const QList<QByteArray> qtFormats = QImageReader::supportedImageFormats();
    QStringList names{
        QStringLiteral("JPEG"), QStringLiteral("HEIC/HEIF"), QStringLiteral("AVIF"), QStringLiteral("PNG")};
    QString missing;
    for (const char *plugin : {"webp", "tiff"}) {
        if (qtFormats.contains(plugin)) {
            names << QString::fromLatin1(plugin).toUpper();
        } else {
            missing = QStringLiteral("; WebP and TIFF need Qt's image format plugins (qt6-image-formats-plugins)");
        }
    }
    names << QStringLiteral("GIF") << QStringLiteral("BMP");
    return QStringLiteral("%1: not a picture in a format slidane-tiles reads (%2)%3")
        .arg(path, names.join(QStringLiteral(", ")), missing);
}

// The decoder's own warnings while a picture is read. Qt's JPEG reader
// passes libjpeg's warnings on here and still returns a picture, grey where
// the data were damaged; the other messages decoders print are kept from
// the terminal, as the reason for a refusal is said in one line.
class DecoderMessages {
public:
    DecoderMessages()
    {
        jpegWarnings().clear();
        previous_ = qInstallMessageHandler(&DecoderMessages::handle);
    }
    ~DecoderMessages() { qInstallMessageHandler(previous_); }
    DecoderMessages(const DecoderMessages &) = delete;
    DecoderMessages &operator=(const DecoderMessages &) = delete;
    QString firstJpegWarning() const { return jpegWarnings().value(0); }

private:
    static QStringList &jpegWarnings()
    {
        static QStringList warnings;
        return warnings;
    }
    static void handle(QtMsgType type, const QMessageLogContext &context, const QString &message)
    {
        if (type == QtWarningMsg && qstrcmp(context.category, "qt.gui.imageio.jpeg") == 0) {
            jpegWarnings() << message;
        }
    }
    QtMessageHandler previous_;
};

// What the markers of a JPEG file say. libjpeg is never asked for the rows
// below the square, so a file cut short there (a half-copied photo) is found
// here: the image data must run on to the end-of-image marker. Data after
// that marker (the video of a motion photo, a maker's trailer) is allowed.
struct JpegLayout {
    bool complete = false;
    bool progressive = false;
};

class ByteStream {
public:
    explicit ByteStream(QFile &file)
        : file_(file)
    {
    }
    // The next byte, or -1 at the end of the file.
    int next()
    {
        if (position_ == buffer_.size() && !refill()) {
            return -1;
        }
        return static_cast<unsigned char>(buffer_[position_++]);
    }
    bool skip(qint64 count)
    {
        while (count > 0) {
            if (position_ == buffer_.size() && !refill()) {
                return false;
            }
            const qint64 step = std::min<qint64>(count, buffer_.size() - position_);
            position_ += step;
            count -= step;
        }
        return true;
    }
    // Skips to just past the next 0xFF byte; false at the end of the file.
    bool skipPastFF()
    {
        for (;;) {
            const char *start = buffer_.constData() + position_;
            const auto *found = static_cast<const char *>(std::memchr(start, 0xFF, buffer_.size() - position_));
            if (found != nullptr) {
                position_ += found - start + 1;
                return true;
            }
            position_ = buffer_.size();
            if (!refill()) {
                return false;
            }
        }
    }

private:
    bool refill()
    {
        buffer_ = file_.read(1 << 16);
        position_ = 0;
        return !buffer_.isEmpty();
    }
    QFile &file_;
    QByteArray buffer_;
    qsizetype position_ = 0;
};

JpegLayout jpegLayout(const QString &path)
{
    JpegLayout layout;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        return layout;
    }
    ByteStream bytes(file);
    if (bytes.next() != 0xFF || bytes.next() != 0xD8) {
        return layout;
    }
    for (;;) {
        // The next marker: in entropy-coded data 0xFF 0x00 is a data byte
        // and 0xFF 0xD0..0xD7 a restart marker; anything may be padded
        // with extra 0xFF bytes.
        if (!bytes.skipPastFF()) {
            return layout;
        }
        int marker = bytes.next();
        while (marker == 0xFF) {
            marker = bytes.next();
        }
        if (marker < 0) {
            return layout;
        }
        if (marker == 0x00 || (marker >= 0xD0 && marker <= 0xD7) || marker == 0x01) {
            continue;
        }
        if (marker == 0xD9) {
            layout.complete = true;
            return layout;
        }
        if (marker == 0xC2 || marker == 0xC6 || marker == 0xCA || marker == 0xCE) {
            layout.progressive = true;
        }
        const int high = bytes.next();
        const int low = bytes.next();
        if (low < 0 || (high << 8 | low) < 2 || !bytes.skip((high << 8 | low) - 2)) {
            return layout;
        }
    }
}

// Area weights of the source pixels that each of the kSide output pixels
// covers, along one axis: output i covers [start + i*step, start + (i+1)*step).
struct Taps {
    std::vector<int> first; // per output pixel
    std::vector<int> count;
    std::vector<int> offset; // into weight
    std::vector<double> weight;
};

Taps taps(double start, double length, int limit)
{
    Taps taps;
    const double step = length / kSide;
    for (int i = 0; i < kSide; ++i) {
        const double from = start + i * step;
        const double to = from + step;
        const int first = std::max(0, static_cast<int>(std::floor(from)));
        const int end = std::min(limit, static_cast<int>(std::ceil(to)));
        taps.first.push_back(first);
        taps.count.push_back(std::max(0, end - first));
        taps.offset.push_back(static_cast<int>(taps.weight.size()));
        for (int j = first; j < end; ++j) {
            taps.weight.push_back(std::min(to, j + 1.0) - std::max(from, double(j)));
        }
    }
    return taps;
}

// Box-averages the square (x, y, side) of an RGB32 picture, in pixels of
// that picture and possibly fractional, to kSide x kSide, each output pixel
// the mean over exactly the area it covers, rounded to nearest.
QImage averageDown(const QImage &picture, double x, double y, double side)
{
    const Taps across = taps(x, side, picture.width());
    const Taps down = taps(y, side, picture.height());
    QImage square(kSide, kSide, QImage::Format_RGB32);
    std::vector<double> row(3 * kSide);
    std::vector<double> sum(3 * kSide);
    for (int oy = 0; oy < kSide; ++oy) {
        std::fill(sum.begin(), sum.end(), 0.0);
        double rowWeight = 0.0;
        for (int k = 0; k < down.count[oy]; ++k) {
            const double wy = down.weight[down.offset[oy] + k];
            const auto *line = reinterpret_cast<const QRgb *>(picture.constScanLine(down.first[oy] + k));
            for (int ox = 0; ox < kSide; ++ox) {
                double r = 0.0;
                double g = 0.0;
                double b = 0.0;
                for (int t = 0; t < across.count[ox]; ++t) {
                    const double wx = across.weight[across.offset[ox] + t];
                    const QRgb pixel = line[across.first[ox] + t];
                    r += wx * qRed(pixel);
                    g += wx * qGreen(pixel);
                    b += wx * qBlue(pixel);
                }
                row[3 * ox] = r;
                row[3 * ox + 1] = g;
                row[3 * ox + 2] = b;
            }
            for (int i = 0; i < 3 * kSide; ++i) {
                sum[i] += wy * row[i];
            }
            rowWeight += wy;
        }
        auto *out = reinterpret_cast<QRgb *>(square.scanLine(oy));
        for (int ox = 0; ox < kSide; ++ox) {
            double colWeight = 0.0;
            for (int t = 0; t < across.count[ox]; ++t) {
                colWeight += across.weight[across.offset[ox] + t];
            }
            const double area = rowWeight * colWeight;
            const auto channel = [&](int c) {
                return area > 0.0 ? std::clamp(static_cast<int>(std::lround(sum[3 * ox + c] / area)), 0, 255) : 0;
            };
            out[ox] = qRgb(channel(0), channel(1), channel(2));
        }
    }
    return square;
}

// A gamma of 1/2.2 with sRGB's chromaticities is how PNG writers say sRGB
// without an sRGB chunk, and how every viewer shows such a picture.
bool meansSrgb(const QColorSpace &space)
{
    return space == QColorSpace(QColorSpace::SRgb)
        || (space.transferFunction() == QColorSpace::TransferFunction::Gamma && std::abs(space.gamma() - 2.2f) < 0.01f
            && space.withTransferFunction(QColorSpace::TransferFunction::SRgb) == QColorSpace(QColorSpace::SRgb));
}

// Full colour in sRGB, transparent parts over the board's grey, as the
// game shows a tile's transparent pixels.
QImage toOpaqueSrgb(QImage picture)
{
    const QColorSpace space = picture.colorSpace();
    const bool alpha = picture.hasAlphaChannel();
    // Palette and grey pictures become full colour first, so that neither
    // the colour conversion nor the averaging works on palette indices.
    picture.convertTo(alpha ? QImage::Format_ARGB32 : QImage::Format_RGB32);
    if (space.isValid() && !meansSrgb(space)) {
        picture.setColorSpace(space);
        picture.convertToColorSpace(QColorSpace::SRgb);
    }
    if (!alpha) {
        return picture;
    }
    QImage opaque(picture.size(), QImage::Format_RGB32);
    opaque.fill(kBoardGrey);
    QPainter painter(&opaque);
    painter.drawImage(0, 0, picture);
    painter.end();
    return opaque;
}

QImage upright(const QImage &square, QImageIOHandler::Transformations transformation)
{
    QImage turned = square.mirrored(transformation.testFlag(QImageIOHandler::TransformationMirror),
        transformation.testFlag(QImageIOHandler::TransformationFlip));
    if (transformation.testFlag(QImageIOHandler::TransformationRotate90)) {
        turned = turned.transformed(QTransform().rotate(90));
    }
    return turned;
}

QString tooSmall(const QString &path, QSize size)
{
    return QStringLiteral("%1: the photo is %2 x %3 pixels; it needs at least %4 x %4, and is not enlarged")
        .arg(path)
        .arg(size.width())
        .arg(size.height())
        .arg(kSide);
}

Square readHeif(const QString &path)
{
    HeifPhoto heif;
    if (const QString error = heif.open(path); !error.isEmpty()) {
        return {{}, QStringLiteral("%1: cannot read a picture from it (%2)").arg(path, error)};
    }
    const QSize size = heif.size();
    if (std::min(size.width(), size.height()) < kSide) {
        return {{}, tooSmall(path, size)};
    }
    if (qint64{size.width()} * size.height() > kPixelBudget) {
        return {{}, tooLarge(path, QStringLiteral("HEIF"), size)};
    }
    QString error;
    const QImage picture = heif.decode(error);
    if (picture.isNull()) {
        return {{}, QStringLiteral("%1: cannot read a picture from it (%2)").arg(path, error)};
    }
    const int side = std::min(picture.width(), picture.height());
    const int x = (picture.width() - side) / 2;
    const int y = (picture.height() - side) / 2;
    return {averageDown(toOpaqueSrgb(picture.copy(x, y, side, side)), 0, 0, side), {}};
}

} // namespace

Square readSquare(const QString &path)
{
    const QFileInfo info(path);
    if (!info.exists()) {
        return {{}, QStringLiteral("%1: no such file").arg(path)};
    }
    if (info.isDir()) {
        return {{}, QStringLiteral("%1: is a folder, not a photo").arg(path)};
    }
    if (!info.isFile()) {
        return {{}, QStringLiteral("%1: not a regular file").arg(path)}; // a pipe would block
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        return {{}, QStringLiteral("%1: cannot open it (%2)").arg(path, file.errorString())};
    }
    const QByteArray head = file.read(64);
    file.close();
    if (head.isEmpty()) {
        return {{}, QStringLiteral("%1: the file is empty").arg(path)};
    }
    if (HeifPhoto::sniff(head)) {
        return readHeif(path);
    }

    // Qt's readers allocate through this limit; the pixel budget below
    // refuses earlier and with the picture's size.
    QImageReader::setAllocationLimit(1024);
    const DecoderMessages messages;
    QImageReader reader(path);
    reader.setDecideFormatFromContent(true);
    reader.setAutoTransform(false); // the EXIF orientation is applied to the square
    const QByteArray format = reader.format();
    if (format.isEmpty()) {
        return {{}, unsupported(path)};
    }
    const QSize stored = reader.size();
    const QImageIOHandler::Transformations transformation = reader.transformation();
    if (stored.isValid()) {
        const QSize shown =
            transformation.testFlag(QImageIOHandler::TransformationRotate90) ? stored.transposed() : stored;
        if (std::min(stored.width(), stored.height()) < kSide) {
            return {{}, tooSmall(path, shown)};
        }
    }

    const bool jpeg = format == "jpeg";
    JpegLayout layout;
    if (jpeg) {
        layout = jpegLayout(path);
        if (!layout.complete) {
            return {{}, QStringLiteral("%1: the JPEG file is cut short, its end is missing").arg(path)};
        }
    }
    // A JPEG is decoded only for the centred square, scaled down by libjpeg
    // in the DCT; a baseline one a few rows at a time, while a progressive
    // one keeps the coefficients of the whole picture and so has the budget
    // of the formats that are decoded whole.
    const bool reducible = jpeg && stored.isValid();
    if ((!jpeg || layout.progressive) && stored.isValid() && qint64{stored.width()} * stored.height() > kPixelBudget) {
        return {{},
            tooLarge(path,
                layout.progressive ? QStringLiteral("progressive JPEG") : QString::fromLatin1(format.toUpper()),
                stored)};
    }

    // The exact centred square in stored pixels, and the part of it asked
    // of the decoder: for a scaled JPEG, whole blocks of `scale` pixels.
    double side = 0;
    double x = 0;
    double y = 0;
    int scale = 1;
    if (reducible) {
        side = std::min(stored.width(), stored.height());
        x = (stored.width() - side) / 2;
        y = (stored.height() - side) / 2;
        while (scale < 8 && static_cast<int>(side) / (2 * scale) >= kSide) {
            scale *= 2;
        }
        // Qt's JPEG reader scales in the DCT exactly when the clip's origin
        // and size are multiples of the scale and the scaled size is the
        // clip's divided by it; then it does no resampling of its own.
        const int clipSide = static_cast<int>(side) / scale * scale;
        const auto aligned = [scale](double origin) { return static_cast<int>(std::lround(origin / scale)) * scale; };
        const int clipX = std::clamp(aligned((stored.width() - clipSide) / 2.0), 0, stored.width() - clipSide);
        const int clipY = std::clamp(aligned((stored.height() - clipSide) / 2.0), 0, stored.height() - clipSide);
        reader.setClipRect(QRect(clipX, clipY, clipSide, clipSide));
        reader.setScaledSize(QSize(clipSide / scale, clipSide / scale));
        x = (x - clipX) / scale;
        y = (y - clipY) / scale;
        side /= scale;
    }

    QImage picture = reader.read();
    const QString damage = messages.firstJpegWarning();
    if (!damage.isEmpty()) {
        return {{}, QStringLiteral("%1: the picture data are damaged (%2)").arg(path, damage)};
    }
    if (picture.isNull()) {
        return {{}, QStringLiteral("%1: cannot read a picture from it (%2)").arg(path, reader.errorString())};
    }
    if (!reducible) {
        side = std::min(picture.width(), picture.height());
        if (side < kSide) {
            return {{}, tooSmall(path, picture.size())};
        }
        // Only the square is converted; the margins are dropped here.
        const int cropX = (picture.width() - static_cast<int>(side)) / 2;
        const int cropY = (picture.height() - static_cast<int>(side)) / 2;
        x = (picture.width() - side) / 2 - cropX;
        y = (picture.height() - side) / 2 - cropY;
        picture =
            picture.copy(cropX, cropY, static_cast<int>(std::ceil(x + side)), static_cast<int>(std::ceil(y + side)));
    }
    return {upright(averageDown(toOpaqueSrgb(std::move(picture)), x, y, side), transformation), {}};
}

} // namespace photo
