#include "bitmapbuilder.h"
#include "tilepicture.h"

#include <QBuffer>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <array>
#include <tuple>

using tilepicture::Verdict;

namespace {

constexpr QRgb R = 0xFFFF0000;
constexpr QRgb G = 0xFF00FF00;
constexpr QRgb B = 0xFF0000FF;
constexpr QRgb W = 0xFFFFFFFF;
constexpr QRgb T = 0x00000000; // left out by the file: transparent
// Colours whose three channels all differ, to tell them apart.
constexpr QRgb O = 0xFFF08010;
constexpr QRgb V = 0xFF2040F0;
using Rows = std::vector<std::vector<QRgb>>; // top row first

QByteArray bytesOf(std::initializer_list<int> values)
{
    QByteArray b;
    for (const int v : values) {
        b.append(static_cast<char>(v));
    }
    return b;
}

QByteArray words16(std::initializer_list<quint16> values)
{
    QByteArray b;
    for (const quint16 v : values) {
        b.append(static_cast<char>(v & 0xFF)).append(static_cast<char>(v >> 8));
    }
    return paddedRow(b);
}

BitmapBuilder bitmap(quint32 header, qint32 width, qint32 height, quint16 bits, QByteArray pixels)
{
    BitmapBuilder b;
    b.headerSize = header;
    b.width = width;
    b.height = height;
    b.bits = bits;
    b.pixels = std::move(pixels);
    return b;
}

BitmapBuilder runLength(quint32 compression, qint32 width, qint32 height, QByteArray codes)
{
    BitmapBuilder b = bitmap(40, width, height, compression == 1 ? 8 : 4, std::move(codes));
    b.compression = compression;
    b.palette = {R, G};
    return b;
}

BitmapBuilder withMasks(BitmapBuilder b, quint32 compression, std::vector<quint32> masks)
{
    b.compression = compression;
    b.masks = std::move(masks);
    return b;
}

// The peak of the process's address space, which grows with any large
// allocation whether or not its pages are touched.
qint64 peakAddressSpaceKiB()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly)) {
        return -1;
    }
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith("VmPeak:")) {
            return line.mid(7).trimmed().split(' ').value(0).toLongLong();
        }
    }
    return -1;
}

quint32 crc32(const QByteArray &bytes)
{
    quint32 crc = 0xFFFFFFFF;
    for (const char c : bytes) {
        crc ^= static_cast<quint8>(c);
        for (int k = 0; k < 8; ++k) {
            crc = (crc >> 1) ^ (0xEDB88320 & (0 - (crc & 1)));
        }
    }
    return ~crc;
}

// A PNG of a few dozen bytes whose header claims 5000 x 5000 RGBA pixels,
// 95 MiB: within Qt's own allocation limit, so only our check refuses it.
QByteArray pngClaiming5000()
{
    const auto chunk = [](const QByteArray &type, const QByteArray &data) {
        QByteArray out(4, '\0');
        for (int i = 0; i < 4; ++i) {
            out[i] = static_cast<char>(data.size() >> (8 * (3 - i)) & 0xFF);
        }
        const quint32 crc = crc32(type + data);
        out += type + data;
        for (int i = 3; i >= 0; --i) {
            out.append(static_cast<char>(crc >> (8 * i) & 0xFF));
        }
        return out;
    };
    const QByteArray header = bytesOf({0, 0, 0x13, 0x88, 0, 0, 0x13, 0x88, 8, 6, 0, 0, 0});
    return QByteArray("\x89PNG\r\n\x1a\n", 8) + chunk("IHDR", header)
        + chunk("IDAT", bytesOf({0x78, 0x9C, 0x63, 0, 0, 0, 1, 0, 1})) + chunk("IEND", {});
}

QByteArray encoded(const QImage &image, const char *format)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    if (!buffer.open(QIODevice::WriteOnly) || !image.save(&buffer, format)) {
        return {};
    }
    return bytes;
}

void writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    QCOMPARE(file.write(bytes), bytes.size());
}

} // namespace

class TilePictureTest : public QObject {
    Q_OBJECT

private slots:
    void bitmapsShowAsCommonViewersShowThem_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<Rows>("want");

        BitmapBuilder indexed = bitmap(40, 3, -2, 8, paddedRow(bytesOf({0, 1, 2})) + paddedRow(bytesOf({3, 0, 1})));
        indexed.palette = {R, G, B, W};
        QTest::newRow("top-down 8-bit") << indexed.bytes() << Rows{{R, G, B}, {W, R, G}};
        QTest::newRow("top-down 24-bit") << bitmap(
            40, 2, -2, 24, paddedRow(bytesOf({0, 0, 255, 0, 255, 0})) + paddedRow(bytesOf({255, 0, 0, 255, 255, 255})))
                                                .bytes()
                                         << Rows{{R, G}, {B, W}};

        // Two red, a delta to (3, 1), one green, an end of line, three pixels
        // in absolute mode with their padding byte, then the end.
        QTest::newRow("RLE8 delta, early end of line")
            << runLength(1, 4, 3, bytesOf({2, 0, 0, 2, 1, 1, 1, 1, 0, 0, 0, 3, 1, 0, 1, 0, 0, 1})).bytes()
            << Rows{{G, R, G, T}, {T, T, T, G}, {R, R, T, T}};
        QTest::newRow("RLE8 early end of bitmap")
            << runLength(1, 4, 2, bytesOf({4, 1, 0, 1, 4, 0})).bytes() << Rows{{T, T, T, T}, {G, G, G, G}};
        QTest::newRow("RLE8 cut short") << runLength(1, 3, 1, bytesOf({2, 1, 0})).bytes() << Rows{{G, G, T}};
        // Three alternating nibbles, an end of line, a delta of two, then three
        // absolute nibbles of which the last falls off the row.
        QTest::newRow("RLE4 delta, early end of line and bitmap")
            << runLength(2, 4, 3, bytesOf({3, 0x01, 0, 0, 0, 2, 2, 0, 0, 3, 0x10, 0x10, 0, 1})).bytes()
            << Rows{{T, T, T, T}, {T, T, G, R}, {R, G, R, T}};

        QTest::newRow("16-bit 5-5-5") << bitmap(40, 4, 1, 16, words16({0x7FFF, 0x7C00, 0x03E0, 0x001F})).bytes()
                                      << Rows{{W, R, G, B}};
        QTest::newRow("16-bit 5-6-5 masks")
            << withMasks(bitmap(40, 4, 1, 16, words16({0xFFFF, 0xF800, 0x07E0, 0x001F})), 3, {0xF800, 0x07E0, 0x1F})
                   .bytes()
            << Rows{{W, R, G, B}};
        QTest::newRow("52-byte header")
            << withMasks(bitmap(52, 2, 1, 16, words16({0xF800, 0x001F})), 3, {0xF800, 0x07E0, 0x1F}).bytes()
            << Rows{{R, B}};
        QTest::newRow("56-byte header with alpha")
            << withMasks(bitmap(56, 2, 1, 32, bytesOf({255, 255, 255, 255, 0, 0, 255, 0x80})), 3,
                   {0xFF0000, 0xFF00, 0xFF, 0xFF000000})
                   .bytes()
            << Rows{{W, 0x80FF0000}};
        QTest::newRow("16-byte OS/2 header")
            << bitmap(16, 2, 1, 24, paddedRow(bytesOf({0, 0, 255, 255, 0, 0}))).bytes() << Rows{{R, B}};
        BitmapBuilder core = bitmap(12, 9, 1, 1, paddedRow(bytesOf({0xA5, 0x80})));
        core.palette = {B, W};
        QTest::newRow("12-byte OS/2 header, 1-bit") << core.bytes() << Rows{{W, B, W, B, B, W, B, W, W}};
        for (const auto &[bits, pixels, want] :
            {std::tuple{4, bytesOf({0x21, 0x30}), Rows{{B, G, W}}}, std::tuple{8, bytesOf({2, 0, 3}), Rows{{B, R, W}}},
                std::tuple{
                    24, bytesOf({0x10, 0x80, 0xF0, 0xF0, 0x40, 0x20, 0x7F, 0x00, 0xFF}), Rows{{O, V, 0xFFFF007F}}}}) {
            BitmapBuilder os2 = bitmap(12, 3, 1, static_cast<quint16>(bits), paddedRow(pixels));
            os2.palette = bits == 24 ? std::vector<QRgb>{} : std::vector<QRgb>{R, G, B, W};
            QTest::addRow("12-byte OS/2 header, %d-bit", bits) << os2.bytes() << want;
        }
        BitmapBuilder twoBits = bitmap(40, 5, 1, 2, paddedRow(bytesOf({0x1B, 0x80})));
        twoBits.palette = {R, G, B, W};
        twoBits.coloursUsed = 3; // the fourth entry is no colour of the picture
        QTest::newRow("2-bit, three colours used") << twoBits.bytes() << Rows{{R, G, B, 0xFF000000, B}};
        // Stores no palette at all: every index shows black, as past a short one.
        QTest::newRow("4-bit without a palette") << bitmap(40, 3, 1, 4, paddedRow(bytesOf({0x12, 0x30}))).bytes()
                                                 << Rows{{0xFF000000, 0xFF000000, 0xFF000000}};
        // The byte above blue is no alpha without an alpha mask.
        QTest::newRow("32-bit")
            << bitmap(40, 2, 1, 32, bytesOf({0x10, 0x80, 0xF0, 0x7F, 0xF0, 0x40, 0x20, 0x7F})).bytes() << Rows{{O, V}};
        QTest::newRow("compression 6 after a 40-byte header")
            << withMasks(bitmap(40, 2, 1, 32, bytesOf({0x10, 0x80, 0xF0, 0x80, 0xF0, 0x40, 0x20, 0xFF})), 6,
                   {0xFF0000, 0xFF00, 0xFF, 0xFF000000})
                   .bytes()
            << Rows{{0x80F08010, V}};
        QTest::newRow("108-byte header")
            << withMasks(bitmap(108, 2, 1, 16, words16({0x001F, 0xF800})), 3, {0xF800, 0x07E0, 0x1F}).bytes()
            << Rows{{B, R}};
        // Mid values tell rounding from truncation: 5 bits 16 -> 132, 6 bits 32 -> 130.
        QTest::newRow("16-bit 5-5-5 mid values")
            << bitmap(40, 1, 1, 16, words16({0x402F})).bytes() << Rows{{qRgb(132, 8, 123)}};
        QTest::newRow("16-bit 5-6-5 mid values")
            << withMasks(bitmap(40, 2, 1, 16, words16({0x840F, 0x0830})), 3, {0xF800, 0x07E0, 0x1F}).bytes()
            << Rows{{qRgb(132, 130, 123), qRgb(8, 4, 132)}};
        // Absolute runs of odd length, each followed by its padding and more codes.
        QTest::newRow("RLE8 odd absolute run, then more")
            << runLength(1, 5, 2, bytesOf({0, 3, 1, 0, 1, 0, 2, 0, 0, 0, 5, 1, 0, 1})).bytes()
            << Rows{{G, G, G, G, G}, {G, R, G, R, R}};
        QTest::newRow("RLE4 odd absolute run, then more")
            << runLength(2, 7, 1, bytesOf({0, 5, 0x01, 0x01, 0x00, 0, 2, 0x11, 0, 1})).bytes()
            << Rows{{R, G, R, G, R, G, G}};
        // A 16-byte header has no colours-used field: the bytes where a longer
        // header keeps it are the pixels, here 3 as a count.
        BitmapBuilder os2Indexed = bitmap(16, 4, 1, 8, bytesOf({3, 0, 0, 0}));
        os2Indexed.palette = {R, G, B, W};
        QTest::newRow("16-byte OS/2 header, 8-bit") << os2Indexed.bytes() << Rows{{W, R, R, R}};
        // Pixels that start before the palette leave it whole: the first
        // index, a 0 bit of the header's last byte, shows red.
        QByteArray early = runLength(1, 1, 1, paddedRow(bytesOf({0}))).bytes();
        BitmapBuilder::put(early, 28, 1, 2); // 1-bit, uncompressed
        BitmapBuilder::put(early, 30, 0, 4);
        BitmapBuilder::put(early, 10, 53, 4);
        QTest::newRow("pixels from the header's last byte") << early << Rows{{R}};
    }

    void bitmapsShowAsCommonViewersShowThem()
    {
        QFETCH(QByteArray, file);
        QFETCH(Rows, want);
        const QImage shown = tilepicture::decode(file).picture.convertToFormat(QImage::Format_ARGB32);
        QVERIFY(!shown.isNull());
        QCOMPARE(shown.size(), QSize(static_cast<int>(want.front().size()), static_cast<int>(want.size())));
        for (int y = 0; y < shown.height(); ++y) {
            for (int x = 0; x < shown.width(); ++x) {
                const QRgb wanted = want[static_cast<std::size_t>(y)][static_cast<std::size_t>(x)];
                QVERIFY2(shown.pixel(x, y) == wanted,
                    qPrintable(QStringLiteral("(%1, %2): %3, want %4")
                                   .arg(x)
                                   .arg(y)
                                   .arg(shown.pixel(x, y), 8, 16, QLatin1Char('0'))
                                   .arg(wanted, 8, 16, QLatin1Char('0'))));
            }
        }
    }

    void onlyWhatACellShowsIsKept()
    {
        QImage big(60, 50, QImage::Format_RGB32);
        big.fill(Qt::blue);
        big.setPixelColor(38, 38, Qt::yellow);
        for (const char *format : {"BMP", "PNG"}) {
            const QImage kept = tilepicture::decode(encoded(big, format)).picture;
            QCOMPARE(kept.size(), QSize(39, 39));
            QCOMPARE(kept.pixelColor(38, 38), QColor(Qt::yellow));
        }
    }

    // Each claim of the headers at its edge: one byte, one value, one kind
    // past what is read.
    void headerClaimsAreChecked_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<Verdict>("verdict");
        const QByteArray row24 = paddedRow(QByteArray(3, '\x40'));
        QTest::newRow("20-byte header") << bitmap(20, 1, 1, 24, row24).bytes() << Verdict::NotAPicture;
        QTest::newRow("info header one byte short")
            << bitmap(40, 1, 1, 24, row24).bytes().left(14 + 39) << Verdict::NotAPicture;
        BitmapBuilder headerOnly = runLength(1, 2, 1, {});
        headerOnly.palette.clear();
        QTest::newRow("header and nothing else") << headerOnly.bytes() << Verdict::Read;
        QTest::newRow("width 0") << bitmap(40, 0, 1, 24, row24).bytes() << Verdict::NotAPicture;
        QTest::newRow("height 0") << bitmap(40, 1, 0, 24, row24).bytes() << Verdict::NotAPicture;
        QTest::newRow("3-bit") << bitmap(40, 1, 1, 3, row24).bytes() << Verdict::NotAPicture;
        QTest::newRow("48-bit") << bitmap(40, 1, 1, 48, QByteArray(8, '\x40')).bytes() << Verdict::NotAPicture;
        for (const auto &[compression, bits] : {std::pair{1u, 16}, {1u, 4}, {2u, 8}, {2u, 1}, {3u, 24}, {4u, 24}}) {
            BitmapBuilder b = runLength(compression, 1, 1, bytesOf({0, 1}));
            b.bits = static_cast<quint16>(bits);
            QTest::addRow("compression %u, %d-bit", compression, bits) << b.bytes() << Verdict::NotAPicture;
        }
        QTest::newRow("masks after a 64-byte header")
            << withMasks(bitmap(64, 1, 1, 16, words16({0x001F})), 3, {0xF800, 0x07E0, 0x1F}).bytes()
            << Verdict::NotAPicture;
        // Pixels that start inside the masks after a 40-byte header, with the
        // masks reaching the end of the file or one byte past it.
        QByteArray overlapping = withMasks(bitmap(40, 1, 1, 16, {}), 3, {0xF800, 0x07E0, 0x1F}).bytes();
        BitmapBuilder::put(overlapping, 10, 54, 4);
        QTest::newRow("masks ending the file") << overlapping << Verdict::Read;
        QTest::newRow("masks one byte past the end") << overlapping.chopped(1) << Verdict::CutShort;
    }

    void headerClaimsAreChecked()
    {
        QFETCH(QByteArray, file);
        QFETCH(Verdict, verdict);
        QCOMPARE(tilepicture::decode(file).verdict, verdict);
    }

    void sidesUpTo1024PixelsLoad()
    {
        const auto row24 = [](int width) { return paddedRow(QByteArray(3 * width, '\x7F')); };
        QVERIFY(!tilepicture::decode(bitmap(40, 1024, 1, 24, row24(1024)).bytes()).picture.isNull());
        QCOMPARE(tilepicture::decode(bitmap(40, 1025, 1, 24, row24(1025)).bytes()).verdict, Verdict::PictureTooLarge);
        QCOMPARE(tilepicture::decode(bitmap(12, 1025, 1, 24, row24(1025)).bytes()).verdict, Verdict::PictureTooLarge);
        QByteArray column;
        for (int y = 0; y < 1025; ++y) {
            column += row24(1);
        }
        QVERIFY(!tilepicture::decode(bitmap(40, 1, -1024, 24, column.left(4 * 1024)).bytes()).picture.isNull());
        QCOMPARE(tilepicture::decode(bitmap(40, 1, -1025, 24, column).bytes()).verdict, Verdict::PictureTooLarge);

        QImage wide(1024, 2, QImage::Format_RGB32);
        wide.fill(Qt::red);
        QVERIFY(!tilepicture::decode(encoded(wide, "PNG")).picture.isNull());
        QCOMPARE(tilepicture::decode(encoded(wide.copy(0, 0, 1025, 2), "PNG")).verdict, Verdict::PictureTooLarge);
    }

    void aBitmapEndingInsideItsLastRowsPaddingIsRefused()
    {
        // Three 24-bit pixels take nine bytes a row, padded to twelve.
        const QByteArray whole =
            bitmap(40, 3, 2, 24, paddedRow(QByteArray(9, '\x10')) + paddedRow(QByteArray(9, '\x20'))).bytes();
        QVERIFY(!tilepicture::decode(whole).picture.isNull());
        QCOMPARE(tilepicture::decode(whole.chopped(1)).verdict, Verdict::CutShort);
        // A run-length bitmap's codes may end where the file does, but not start past it.
        QByteArray runs = runLength(1, 2, 1, {}).bytes();
        QCOMPARE(tilepicture::decode(runs).picture.pixel(1, 0), T);
        BitmapBuilder::put(runs, 10, static_cast<quint32>(runs.size() + 1), 4);
        QCOMPARE(tilepicture::decode(runs).verdict, Verdict::CutShort);
    }

    void filesUpTo8MiBLoad()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("1.bmp"));
        QByteArray file =
            bitmap(40, 2, 2, 24, paddedRow(QByteArray(6, '\x40')) + paddedRow(QByteArray(6, '\x40'))).bytes();
        file.append(tilepicture::kMaxFileBytes - file.size(), '\0');
        QCOMPARE(file.size(), 8 * 1024 * 1024);
        writeFile(path, file);
        QVERIFY(!tilepicture::load(path).picture.isNull());
        writeFile(path, file + '\0');
        QCOMPARE(tilepicture::load(path).verdict, Verdict::FileTooLarge);
    }

    // Only a failed allocation is a want of memory; whatever else a decoder
    // throws, of a standard type or not, makes the file no picture, and
    // nothing escapes the loader.
    void exceptionsFromADecoderBecomeVerdicts_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<Verdict>("verdict");
        QTest::newRow("std::bad_alloc") << QByteArray("THROW:NOMEM") << Verdict::OutOfMemory;
        QTest::newRow("std::logic_error") << QByteArray("THROW:LOGIC") << Verdict::NotAPicture;
        QTest::newRow("an int") << QByteArray("THROW:INT") << Verdict::NotAPicture;
    }

    void exceptionsFromADecoderBecomeVerdicts()
    {
        QFETCH(QByteArray, file);
        QFETCH(Verdict, verdict);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("1.bmp"));
        writeFile(path, file);
        QCOMPARE(tilepicture::load(path).verdict, verdict);
    }

    // A lying header must be refused before pixel memory is taken.
    void aSmallFileClaimingHugeSidesTakesNoPixelMemory()
    {
        BitmapBuilder runs = runLength(1, 8000, 8000, bytesOf({255, 1, 0, 1}));
        const std::array<QByteArray, 3> files{
            bitmap(40, 8000, 8000, 24, QByteArray(64, '\0')).bytes(), runs.bytes(), pngClaiming5000()};
        for (const QByteArray &file : files) {
            const qint64 before = peakAddressSpaceKiB();
            QVERIFY(before > 0);
            QVERIFY(tilepicture::decode(file).picture.isNull());
            const qint64 grown = peakAddressSpaceKiB() - before;
            QVERIFY2(grown < 16 * 1024, qPrintable(QStringLiteral("peak grew by %1 KiB").arg(grown)));
        }
    }
};

QTEST_GUILESS_MAIN(TilePictureTest)
#include "tilepicture_test.moc"
