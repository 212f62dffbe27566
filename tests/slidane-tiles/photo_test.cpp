// The decoding of a photo, in process, on one table of photos made at run
// time: each format a phone or camera writes, sizes past Qt's own limit,
// colour profiles, palettes, transparency, orientation, and the files it
// must refuse.
#include "photo.h"
#include "photofile.h"

#include <QBuffer>
#include <QColorSpace>
#include <QColorTransform>
#include <QFile>
#include <QImageWriter>
#include <QPainter>
#include <QTemporaryDir>
#include <QTest>

#include <libheif/heif.h>

#include <array>
#include <cstring>

using Colours = std::array<QRgb, 16>;
Q_DECLARE_METATYPE(Colours)

class PhotoTest : public QObject {
    Q_OBJECT

private slots:
    void readSquare_data();
    void readSquare();

private:
    QString file(const QString &name) const { return dir_.filePath(name); }
    QTemporaryDir dir_;
};

namespace {

// Block k (row-major) of the centred square; every channel differs from
// block to block and from channel to channel.
QRgb blockColour(int k)
{
    return qRgb(15 * k + 10, 250 - 15 * k, 37 * k % 256);
}

// A picture whose centred square is a 4 x 4 grid of blockColour, with
// margins of a colour no block has.
QImage blocks(int width, int height)
{
    QImage picture(width, height, QImage::Format_RGB32);
    picture.fill(qRgb(255, 0, 255));
    const int side = std::min(width, height);
    QPainter painter(&picture);
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    for (int k = 0; k < 16; ++k) {
        const int x = (width - side) / 2 + side * (k % 4) / 4;
        const int y = (height - side) / 2 + side * (k / 4) / 4;
        painter.fillRect(x, y, side * (k % 4 + 1) / 4 - side * (k % 4) / 4, side * (k / 4 + 1) / 4 - side * (k / 4) / 4,
            QColor::fromRgba(blockColour(k)));
    }
    return picture;
}

Colours expectedIn(const QColorSpace &space)
{
    const QColorTransform toSrgb = space.transformationToColorSpace(QColorSpace::SRgb);
    Colours colours{};
    for (int k = 0; k < 16; ++k) {
        colours.at(k) = toSrgb.map(blockColour(k));
    }
    return colours;
}

quint32 crc32(const QByteArray &bytes)
{
    quint32 crc = 0xFFFFFFFF;
    for (const char byte : bytes) {
        crc ^= static_cast<unsigned char>(byte);
        for (int bit = 0; bit < 8; ++bit) {
            crc = crc >> 1 ^ (crc & 1 ? 0xEDB88320 : 0);
        }
    }
    return ~crc;
}

QByteArray bigEndian(quint32 value)
{
    QByteArray bytes;
    for (int shift = 24; shift >= 0; shift -= 8) {
        bytes += static_cast<char>(value >> shift);
    }
    return bytes;
}

bool write(const QString &path, const QByteArray &bytes)
{
    QFile out(path);
    return out.open(QIODevice::WriteOnly) && out.write(bytes) == bytes.size();
}

// Encodes `image`, which it releases, into the file at `path`: lossless or
// at quality 95, with a colr box for nclx colour information if `nclx`.
bool encodeHeif(const QString &path, heif_image *image, heif_compression_format format, bool lossless, bool nclx)
{
    heif_context *context = heif_context_alloc();
    heif_encoder *encoder = nullptr;
    heif_encoding_options *options = heif_encoding_options_alloc();
    options->macOS_compatibility_workaround_no_nclx_profile = nclx ? 0 : 1; // else no colr box is written
    const bool done = heif_context_get_encoder_for_format(context, format, &encoder).code == heif_error_Ok
        && (lossless ? heif_encoder_set_lossless(encoder, 1) : heif_encoder_set_lossy_quality(encoder, 95)).code
            == heif_error_Ok
        && heif_context_encode_image(context, image, encoder, options, nullptr).code == heif_error_Ok
        && heif_context_write_to_file(context, QFile::encodeName(path).constData()).code == heif_error_Ok;
    heif_encoding_options_free(options);
    heif_image_release(image);
    if (encoder != nullptr) {
        heif_encoder_release(encoder);
    }
    heif_context_free(context);
    return done;
}

// A HEIC or AVIF file of an opaque picture, described by either an ICC
// profile or nclx colour information (Display P3 primaries, sRGB curve).
bool writeHeif(const QString &path, const QImage &picture, heif_compression_format format, bool icc)
{
    const QImage rgb = picture.convertToFormat(QImage::Format_RGB888);
    heif_image *image = nullptr;
    bool done =
        heif_image_create(rgb.width(), rgb.height(), heif_colorspace_RGB, heif_chroma_interleaved_RGB, &image).code
            == heif_error_Ok
        && heif_image_add_plane(image, heif_channel_interleaved, rgb.width(), rgb.height(), 8).code == heif_error_Ok;
    if (done) {
        int stride = 0;
        uint8_t *plane = heif_image_get_plane(image, heif_channel_interleaved, &stride);
        for (int y = 0; y < rgb.height(); ++y) {
            std::memcpy(plane + qsizetype{y} * stride, rgb.constScanLine(y), static_cast<size_t>(rgb.width()) * 3);
        }
        if (icc) {
            const QByteArray profile = QColorSpace(QColorSpace::DisplayP3).iccProfile();
            done = heif_image_set_raw_color_profile(
                       image, "prof", profile.constData(), static_cast<size_t>(profile.size()))
                       .code
                == heif_error_Ok;
        } else {
            heif_color_profile_nclx *nclx = heif_nclx_color_profile_alloc();
            heif_nclx_color_profile_set_color_primaries(nclx, heif_color_primaries_SMPTE_EG_432_1);
            heif_nclx_color_profile_set_transfer_characteristics(nclx, heif_transfer_characteristic_IEC_61966_2_1);
            heif_nclx_color_profile_set_matrix_coefficients(nclx, heif_matrix_coefficients_ITU_R_BT_601_6);
            nclx->full_range_flag = 1;
            done = heif_image_set_nclx_color_profile(image, nclx).code == heif_error_Ok;
            heif_nclx_color_profile_free(nclx);
        }
    }
    if (!done) {
        heif_image_release(image);
        return false;
    }
    return encodeHeif(path, image, format, false, !icc);
}

// A lossless monochrome AVIF whose block k is coded as 16 + 13 k, in the
// video range or the full one as its colour information says; the colours
// it stands for.
Colours writeGreyAvif(const QString &path, bool fullRange)
{
    const int side = 256;
    heif_image *image = nullptr;
    heif_color_profile_nclx *nclx = heif_nclx_color_profile_alloc();
    nclx->full_range_flag = fullRange ? 1 : 0;
    bool done =
        heif_image_create(side, side, heif_colorspace_monochrome, heif_chroma_monochrome, &image).code == heif_error_Ok
        && heif_image_add_plane(image, heif_channel_Y, side, side, 8).code == heif_error_Ok
        && heif_image_set_nclx_color_profile(image, nclx).code == heif_error_Ok;
    heif_nclx_color_profile_free(nclx);
    if (done) {
        int stride = 0;
        uint8_t *plane = heif_image_get_plane(image, heif_channel_Y, &stride);
        for (int y = 0; y < side; ++y) {
            for (int x = 0; x < side; ++x) {
                plane[y * stride + x] = static_cast<uint8_t>(16 + 13 * (y * 4 / side * 4 + x * 4 / side));
            }
        }
    }
    if (!done) {
        heif_image_release(image);
    }
    done = done && encodeHeif(path, image, heif_compression_AV1, true, true);
    Colours colours{};
    for (int k = 0; k < 16 && done; ++k) {
        const int grey = fullRange ? 16 + 13 * k : (13 * k * 255 + 109) / 219;
        colours.at(k) = qRgb(grey, grey, grey);
    }
    return colours;
}

} // namespace

void PhotoTest::readSquare_data()
{
    QVERIFY(dir_.isValid());
    QTest::addColumn<QString>("path");
    QTest::addColumn<Colours>("colours"); // at the centre of each block, upright
    QTest::addColumn<int>("tolerance");
    QTest::addColumn<QImage>("reference"); // all pixels, when not null
    QTest::addColumn<QString>("error");
    const Colours srgb = expectedIn(QColorSpace::SRgb);

    // Past the 2^25 pixels Qt reads whole, stored turned: EXIF orientation
    // 7 says mirror, then turn right, so the square is read in the stored
    // orientation and turned afterwards.
    {
        const QImage upright = blocks(5000, 7000);
        const QImage stored = upright.transformed(QTransform().rotate(-90)).mirrored(true, false);
        QByteArray jpeg;
        QBuffer buffer(&jpeg);
        QVERIFY(buffer.open(QIODevice::WriteOnly) && stored.save(&buffer, "JPEG", 95));
        const QByteArray tiff = QByteArray("MM\0*", 4) + bigEndian(8) + QByteArray("\0\x01\x01\x12\0\x03", 6)
            + bigEndian(1) + QByteArray("\0\x07\0\0", 4) + bigEndian(0);
        const QByteArray exif = QByteArray("Exif\0\0", 6) + tiff;
        jpeg.insert(2, QByteArray("\xFF\xE1", 2) + bigEndian(quint32(exif.size() + 2)).right(2) + exif);
        QVERIFY(write(file(QStringLiteral("large.jpg")), jpeg));
        QTest::newRow("35 MP JPEG, EXIF-turned") << file(QStringLiteral("large.jpg")) << srgb << 4 << QImage() << "";
    }
    {
        QImage p3 = blocks(1600, 1200);
        p3.setColorSpace(QColorSpace::DisplayP3);
        QVERIFY(p3.save(file(QStringLiteral("p3.jpg")), "JPEG", 95));
        QTest::newRow("Display P3 JPEG") << file(QStringLiteral("p3.jpg")) << expectedIn(QColorSpace::DisplayP3) << 4
                                         << QImage() << "";
    }
    {
        QImage adobe = blocks(700, 900);
        adobe.setColorSpace(QColorSpace::AdobeRgb);
        QImageWriter writer(file(QStringLiteral("adobe.jpg")));
        writer.setQuality(95);
        writer.setProgressiveScanWrite(true);
        QVERIFY(writer.write(adobe));
        QTest::newRow("progressive Adobe RGB JPEG")
            << file(QStringLiteral("adobe.jpg")) << expectedIn(QColorSpace::AdobeRgb) << 4 << QImage() << "";
    }
    // nclx colour information, as Android phones write it.
    QVERIFY(writeHeif(file(QStringLiteral("photo.heic")), blocks(640, 480), heif_compression_HEVC, false));
    QTest::newRow("HEIC, Display P3 by nclx")
        << file(QStringLiteral("photo.heic")) << expectedIn(QColorSpace::DisplayP3) << 5 << QImage() << "";
    // Some cameras and encoders name only the HEIF structure as the main
    // brand, and the codec among the compatible ones.
    {
        QFile heic(file(QStringLiteral("photo.heic")));
        QVERIFY(heic.open(QIODevice::ReadOnly));
        const QByteArray bytes = heic.readAll().replace(8, 4, "mif1");
        QVERIFY(bytes.indexOf("heic", 16) > 0 && write(file(QStringLiteral("mif1.heic")), bytes));
        QTest::newRow("HEIC, main brand mif1")
            << file(QStringLiteral("mif1.heic")) << expectedIn(QColorSpace::DisplayP3) << 5 << QImage() << "";
    }
    // An ICC profile, as iPhones write it.
    QVERIFY(writeHeif(file(QStringLiteral("photo.avif")), blocks(480, 640), heif_compression_AV1, true));
    QTest::newRow("AVIF, Display P3 by ICC")
        << file(QStringLiteral("photo.avif")) << expectedIn(QColorSpace::DisplayP3) << 5 << QImage() << "";
    // Monochrome: libheif expands the video range of colour pictures only.
    for (const bool fullRange : {false, true}) {
        const QString name = fullRange ? QStringLiteral("grey-full.avif") : QStringLiteral("grey-video.avif");
        const Colours grey = writeGreyAvif(file(name), fullRange);
        QVERIFY(grey.at(15) != 0);
        QTest::newRow(qPrintable(name)) << file(name) << grey << 0 << QImage() << "";
    }
    // Through Qt's image format plugins, whatever the name says.
    QVERIFY(blocks(500, 400).save(file(QStringLiteral("webp.png")), "WEBP", 100));
    QTest::newRow("WebP named .png") << file(QStringLiteral("webp.png")) << srgb << 0 << QImage() << "";
    QImage tiff = blocks(400, 500);
    tiff.setColorSpace(QColorSpace::AdobeRgb);
    QVERIFY(tiff.save(file(QStringLiteral("photo.tif")), "TIFF"));
    QTest::newRow("Adobe RGB TIFF") << file(QStringLiteral("photo.tif")) << expectedIn(QColorSpace::AdobeRgb) << 1
                                    << QImage() << "";
    {
        // Every pixel its own palette entry among 256: averaging palette
        // indices or re-quantising the average shows at once. The square
        // is 468 = 3 x 156 pixels, so the reference is a plain 3 x 3 mean.
        QImage palette(700, 468, QImage::Format_Indexed8);
        QList<QRgb> table;
        for (int i = 0; i < 256; ++i) {
            table << qRgb(i, (i * 7) % 256, 255 - i);
        }
        palette.setColorTable(table);
        for (int y = 0; y < palette.height(); ++y) {
            for (int x = 0; x < palette.width(); ++x) {
                palette.setPixel(x, y, (x * 13 + y * 29 + (x * y) % 7) % 256);
            }
        }
        QVERIFY(palette.save(file(QStringLiteral("palette.png"))));
        QImage reference(156, 156, QImage::Format_RGB32);
        for (int y = 0; y < 156; ++y) {
            for (int x = 0; x < 156; ++x) {
                int sum[3] = {};
                for (int i = 0; i < 9; ++i) {
                    const QRgb c = palette.pixel(116 + 3 * x + i % 3, 3 * y + i / 3);
                    sum[0] += qRed(c);
                    sum[1] += qGreen(c);
                    sum[2] += qBlue(c);
                }
                reference.setPixel(x, y, qRgb((sum[0] + 4) / 9, (sum[1] + 4) / 9, (sum[2] + 4) / 9));
            }
        }
        QTest::newRow("palette PNG") << file(QStringLiteral("palette.png")) << Colours{} << 1 << reference << "";
    }
    {
        // Block k is 17 k / 255 opaque: from invisible to opaque over the grey.
        QImage clear(400, 400, QImage::Format_ARGB32);
        Colours over{};
        for (int k = 0; k < 16; ++k) {
            const int alpha = 17 * k;
            const QRgb c = blockColour(k);
            const auto mix = [alpha](int channel) { return (alpha * channel + (255 - alpha) * 192 + 127) / 255; };
            over.at(k) = qRgb(mix(qRed(c)), mix(qGreen(c)), mix(qBlue(c)));
            for (int y = k / 4 * 100; y < k / 4 * 100 + 100; ++y) {
                for (int x = k % 4 * 100; x < k % 4 * 100 + 100; ++x) {
                    clear.setPixel(x, y, qRgba(qRed(c), qGreen(c), qBlue(c), alpha));
                }
            }
        }
        QVERIFY(clear.save(file(QStringLiteral("clear.png"))));
        QTest::newRow("transparent PNG") << file(QStringLiteral("clear.png")) << over << 2 << QImage() << "";
    }

    // Refusals.
    QFile jpeg(file(QStringLiteral("p3.jpg")));
    QVERIFY(jpeg.open(QIODevice::ReadOnly));
    const QByteArray whole = jpeg.readAll();
    QVERIFY(write(file(QStringLiteral("cut.jpg")), whole.left(whole.size() * 2 / 3)));
    QTest::newRow("JPEG cut short") << file(QStringLiteral("cut.jpg")) << Colours{} << 0 << QImage() << "cut short";
    // One pixel short of the square's side, across and down.
    QVERIFY(blocks(155, 300).save(file(QStringLiteral("narrow.jpg")), "JPEG"));
    QTest::newRow("JPEG 155 wide") << file(QStringLiteral("narrow.jpg")) << Colours{} << 0 << QImage()
                                   << "is 155 × 300 pixels; it needs at least 156 × 156";
    QByteArray garbled = whole;
    for (qsizetype i = whole.size() / 3; i < whole.size() / 3 + 64; ++i) {
        garbled[i] = static_cast<char>(i * 89 % 255);
    }
    QVERIFY(write(file(QStringLiteral("garbled.jpg")), garbled));
    QTest::newRow("JPEG with damaged data")
        << file(QStringLiteral("garbled.jpg")) << Colours{} << 0 << QImage() << "damaged";
    // Only the chunks before the picture data of a 50000 x 50000 PNG:
    // refused before any decoding.
    QByteArray huge("\x89PNG\r\n\x1a\n", 8);
    for (const QByteArray &chunk :
        {QByteArray("IHDR") + bigEndian(50000) + bigEndian(50000) + QByteArray("\x08\x02\0\0\0", 5), QByteArray("IDAT"),
            QByteArray("IEND")}) {
        huge += bigEndian(static_cast<quint32>(chunk.size() - 4)) + chunk + bigEndian(crc32(chunk));
    }
    QVERIFY(write(file(QStringLiteral("huge.png")), huge));
    QTest::newRow("2500 MP PNG") << file(QStringLiteral("huge.png")) << Colours{} << 0 << QImage()
                                 << "50000 × 50000 pixels (2500 megapixels), over the limit of 120 megapixels";
    QVERIFY(write(file(QStringLiteral("notes.jpg")), "no picture\n"));
    QTest::newRow("not a picture") << file(QStringLiteral("notes.jpg")) << Colours{} << 0 << QImage()
                                   << "(JPEG, HEIC/HEIF, AVIF, PNG,";
    // The brands of an image sequence or an animation and nothing more:
    // libheif's words for them name boxes and brands.
    QVERIFY(write(file(QStringLiteral("clip.heic")),
        QByteArray::fromHex("00000018") + "ftypmsf1" + QByteArray::fromHex("00000000") + "msf1hevc"));
    QTest::newRow("HEIF sequence brands only") << file(QStringLiteral("clip.heic")) << Colours{} << 0 << QImage()
                                               << "it is an animation or a sequence of pictures";
    QVERIFY(write(file(QStringLiteral("animation.avif")),
        QByteArray::fromHex("00000020") + "ftypavis" + QByteArray::fromHex("00000000") + "avisiso8miafMA1A"));
    QTest::newRow("AVIF animation brands") << file(QStringLiteral("animation.avif")) << Colours{} << 0 << QImage()
                                           << "it is an animation or a sequence of pictures";
    QTest::newRow("a folder") << dir_.path() << Colours{} << 0 << QImage() << "is a folder";
}

void PhotoTest::readSquare()
{
    QFETCH(QString, path);
    QFETCH(Colours, colours);
    QFETCH(int, tolerance);
    QFETCH(QImage, reference);
    QFETCH(QString, error);

    const photo::PhotoFile photo(path);
    QFile device;
    const photo::Square square = photo.problem().isEmpty() && device.open(photo.descriptor(), QIODevice::ReadOnly)
        ? photo::decodeSquare(device, path, photo.format())
        : photo::Square{{}, photo.problem()};
    if (!error.isEmpty()) {
        QVERIFY(square.picture.isNull());
        QVERIFY2(square.error.startsWith(path + QStringLiteral(": ")) && square.error.contains(error)
                && !square.error.contains(QLatin1Char('\n')),
            qPrintable(square.error));
        return;
    }
    QVERIFY2(square.error.isEmpty(), qPrintable(square.error));
    QCOMPARE(square.picture.size(), QSize(156, 156));
    QCOMPARE(square.picture.format(), QImage::Format_RGB32);
    const auto near = [tolerance](QRgb got, QRgb want) {
        return std::abs(qRed(got) - qRed(want)) <= tolerance && std::abs(qGreen(got) - qGreen(want)) <= tolerance
            && std::abs(qBlue(got) - qBlue(want)) <= tolerance;
    };
    QList<QPoint> probes;
    if (reference.isNull()) {
        for (int k = 0; k < 16; ++k) {
            probes << QPoint(k % 4 * 39 + 19, k / 4 * 39 + 19);
        }
    } else {
        for (int y = 0; y < 156; ++y) {
            for (int x = 0; x < 156; ++x) {
                probes << QPoint(x, y);
            }
        }
    }
    for (qsizetype i = 0; i < probes.size(); ++i) {
        const QPoint at = probes.at(i);
        const QRgb want = reference.isNull() ? colours.at(i) : reference.pixel(at);
        const QRgb got = square.picture.pixel(at);
        QVERIFY2(near(got, want),
            qPrintable(QStringLiteral("at (%1, %2): #%3, want #%4")
                           .arg(at.x())
                           .arg(at.y())
                           .arg(got & 0xFFFFFF, 6, 16, QLatin1Char('0'))
                           .arg(want & 0xFFFFFF, 6, 16, QLatin1Char('0'))));
    }
}

QTEST_GUILESS_MAIN(PhotoTest)
#include "photo_test.moc"
