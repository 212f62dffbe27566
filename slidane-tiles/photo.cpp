#include "photo.h"

#include "areaaverage.h"
#include "centredsquare.h"
#include "heifphoto.h"
#include "jpeglayout.h"
#include "photoside.h"

#include <QBuffer>
#include <QColorSpace>
#include <QCoreApplication>
#include <QImageReader>
#include <QPainter>
#include <QStringList>

#include <algorithm>
#include <cmath>

namespace photo {
namespace {

constexpr int kSide = tileset::kPhotoSide;
const QColor kBoardGrey(192, 192, 192);

QString megapixels(qint64 pixels)
{
    return QString::number(static_cast<double>(pixels) / 1e6, 'f', pixels < 10'000'000 ? 1 : 0);
}

// `kind` names the pictures the limit is for: "PNG pictures".
QString tooLarge(const QString &path, const QString &kind, QSize size)
{
    return QCoreApplication::translate(
        "photo", "%1: the picture is %2 × %3 pixels (%4 megapixels), over the limit of %5 megapixels for %6")
        .arg(path)
        .arg(size.width())
        .arg(size.height())
        .arg(megapixels(qint64{size.width()} * size.height()), megapixels(kPixelBudget), kind);
}

QString picturesOf(const QByteArray &format)
{
    return QCoreApplication::translate("photo", "%1 pictures").arg(QString::fromLatin1(format.toUpper()));
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
            missing = QCoreApplication::translate(
                "photo", "; WebP and TIFF need Qt's image format plugins (qt6-image-formats-plugins)");
        }
    }
    names << QStringLiteral("GIF") << QStringLiteral("BMP");
    return QCoreApplication::translate("photo", "%1: not a picture in a format slidane-tiles reads (%2)%3")
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
    return QCoreApplication::translate(
        "photo", "%1: the photo is %2 × %3 pixels; it needs at least %4 × %4, and is not enlarged")
        .arg(path)
        .arg(size.width())
        .arg(size.height())
        .arg(kSide);
}

QString unreadable(const QString &path, const QString &reason)
{
    return QCoreApplication::translate("photo", "%1: cannot read a picture from it (%2)").arg(path, reason);
}

// The centred square of a picture decoded whole, cut out with the pixels
// its edges touch; `square` becomes its place in what is returned.
QImage cropCentred(const QImage &picture, CentredSquare &square)
{
    square = centredSquare(picture.size());
    const int cropX = static_cast<int>(square.x);
    const int cropY = static_cast<int>(square.y);
    square.x -= cropX;
    square.y -= cropY;
    return picture.copy(cropX, cropY, static_cast<int>(std::ceil(square.x + square.side)),
        static_cast<int>(std::ceil(square.y + square.side)));
}

Square readHeif(QIODevice &file, const QString &path)
{
    HeifPhoto heif;
    if (const QString error = heif.open(file); !error.isEmpty()) {
        return {{}, unreadable(path, error)};
    }
    const QSize size = heif.size();
    if (std::min(size.width(), size.height()) < kSide) {
        return {{}, tooSmall(path, size)};
    }
    if (qint64{size.width()} * size.height() > kPixelBudget) {
        return {{}, tooLarge(path, picturesOf("HEIF"), size)};
    }
    QString error;
    const QImage picture = heif.decode(error);
    if (picture.isNull()) {
        return {{}, unreadable(path, error)};
    }
    CentredSquare square{};
    const QImage cropped = cropCentred(picture, square);
    return {averageDown(toOpaqueSrgb(cropped), square.x, square.y, square.side), {}};
}

// Why a picture of `format` and `stored` size is too large to decode, or
// nothing. A baseline JPEG is decoded a few rows at a time for the centred
// square, scaled down by libjpeg in the DCT; a progressive one keeps the
// coefficients of the whole picture, and the other formats are decoded
// whole, so those have the budget.
QString budgetProblem(const QString &path, const QByteArray &format, const JpegLayout &layout, QSize stored)
{
    const bool jpeg = format == "jpeg";
    if ((jpeg && !layout.progressive) || !stored.isValid()
        || qint64{stored.width()} * stored.height() <= kPixelBudget) {
        return {};
    }
    return tooLarge(path,
        layout.progressive ? QCoreApplication::translate("photo", "progressive JPEGs") : picturesOf(format), stored);
}

// Asks the JPEG decoder for the centred square of a `stored`-sized picture,
// in whole blocks of the largest DCT scale that keeps at least kSide
// pixels; returns the exact square in the pixels the decoder gives.
CentredSquare clipCentredSquare(QImageReader &reader, QSize stored)
{
    CentredSquare square = centredSquare(stored);
    int scale = 1;
    while (scale < 8 && static_cast<int>(square.side) / (2 * scale) >= kSide) {
        scale *= 2;
    }
    // Qt's JPEG reader scales in the DCT exactly when the clip's origin and
    // size are multiples of the scale and the scaled size is the clip's
    // divided by it; then it does no resampling of its own.
    const int clipSide = static_cast<int>(square.side) / scale * scale;
    const auto aligned = [scale](double origin) { return static_cast<int>(std::lround(origin / scale)) * scale; };
    const int clipX = std::clamp(aligned((stored.width() - clipSide) / 2.0), 0, stored.width() - clipSide);
    const int clipY = std::clamp(aligned((stored.height() - clipSide) / 2.0), 0, stored.height() - clipSide);
    reader.setClipRect(QRect(clipX, clipY, clipSide, clipSide));
    reader.setScaledSize(QSize(clipSide / scale, clipSide / scale));
    return {(square.x - clipX) / scale, (square.y - clipY) / scale, square.side / scale};
}

// JPEG, PNG, WebP, TIFF, GIF and BMP through Qt's readers.
Square readWithQt(QIODevice &file, const QString &path, const QByteArray &knownFormat)
{
    // Qt's readers allocate through this limit; the pixel budget refuses
    // earlier and with the picture's size.
    QImageReader::setAllocationLimit(1024);
    const DecoderMessages messages;
    // A format the first bytes name goes straight to its reader; anything
    // else is offered to every reader in turn.
    const QByteArray known = knownFormat == "heif" ? QByteArray() : knownFormat;
    QImageReader reader(&file, known);
    reader.setDecideFormatFromContent(known.isEmpty());
    reader.setAutoTransform(false); // the EXIF orientation is applied to the square
    const QByteArray format = reader.canRead() ? reader.format() : QByteArray();
    if (format.isEmpty()) {
        return {{}, unsupported(path)};
    }
    const QSize stored = reader.size();
    const QImageIOHandler::Transformations transformation = reader.transformation();
    if (stored.isValid() && std::min(stored.width(), stored.height()) < kSide) {
        return {{},
            tooSmall(
                path, transformation.testFlag(QImageIOHandler::TransformationRotate90) ? stored.transposed() : stored)};
    }
    const bool jpeg = format == "jpeg";
    // The markers are scanned to the end of the file, which for gigabytes
    // takes seconds: only after libjpeg has read a header.
    if (jpeg && !stored.isValid()) {
        return {{}, unreadable(path, QCoreApplication::translate("photo", "its header is damaged or missing"))};
    }
    const JpegLayout layout = jpeg ? jpegLayout(file) : JpegLayout{};
    if (jpeg && !layout.complete) {
        return {
            {}, QCoreApplication::translate("photo", "%1: the JPEG file is cut short, its end is missing").arg(path)};
    }
    if (const QString problem = budgetProblem(path, format, layout, stored); !problem.isEmpty()) {
        return {{}, problem};
    }
    const bool reducible = jpeg && stored.isValid();
    CentredSquare square = reducible ? clipCentredSquare(reader, stored) : CentredSquare{};

    QImage picture = reader.read();
    if (const QString damage = messages.firstJpegWarning(); !damage.isEmpty()) {
        return {{}, QCoreApplication::translate("photo", "%1: the picture data are damaged (%2)").arg(path, damage)};
    }
    if (picture.isNull()) {
        return {{}, unreadable(path, reader.errorString())};
    }
    if (!reducible) {
        if (std::min(picture.width(), picture.height()) < kSide) {
            return {{}, tooSmall(path, picture.size())};
        }
        // Only the square is converted; the margins are dropped here.
        picture = cropCentred(picture, square);
    }
    return {
        upright(averageDown(toOpaqueSrgb(std::move(picture)), square.x, square.y, square.side), transformation), {}};
}

} // namespace

void loadDecoders(const QByteArray &format)
{
    // Asking a reader of the format whether it reads an empty device loads
    // the plugins Qt offers the format to, up to the one that takes it, with
    // the decoding libraries behind them (libjpeg, libwebp, libtiff). A
    // file of no known format, or one that libheif turns away, is offered
    // to every plugin, so all are loaded for those.
    if (format.isEmpty() || format == "heif") {
        QImageReader::supportedImageFormats();
        HeifPhoto::load();
        return;
    }
    QByteArray nothing;
    QBuffer empty(&nothing);
    empty.open(QIODevice::ReadOnly);
    QImageReader(&empty, format).canRead();
}

Square decodeSquare(QIODevice &file, const QString &name, const QByteArray &format)
{
    const bool heif = (format.isEmpty() || format == "heif") && HeifPhoto::sniff(file.peek(64));
    return heif ? readHeif(file, name) : readWithQt(file, name, format);
}

} // namespace photo
