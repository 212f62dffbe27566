#pragma once

#include <QByteArray>
#include <QRgb>

#include <vector>

// Writes bitmap files field by field, so that a test can make every header
// version, depth and compression that other programs write, and break them.
struct BitmapBuilder {
    quint32 headerSize = 40;
    qint32 width = 1;
    qint32 height = 1; // negative: rows stored top first
    quint16 bits = 24;
    quint32 compression = 0;
    std::vector<QRgb> palette;
    quint32 coloursUsed = 0; // 0: as many as the depth allows
    std::vector<quint32> masks; // in the header where it has room, else after it
    QByteArray pixels;

    static void put(QByteArray &b, qsizetype at, quint32 value, int size)
    {
        if (at + size > b.size()) {
            return; // the field does not exist in a header this short
        }
        for (int i = 0; i < size; ++i) {
            b[at + i] = static_cast<char>(value >> (8 * i) & 0xFF);
        }
    }

    QByteArray bytes() const
    {
        QByteArray info(static_cast<qsizetype>(headerSize), '\0');
        put(info, 0, headerSize, 4);
        if (headerSize == 12) {
            put(info, 4, static_cast<quint32>(width), 2);
            put(info, 6, static_cast<quint32>(height), 2);
            put(info, 8, 1, 2);
            put(info, 10, bits, 2);
        } else {
            put(info, 4, static_cast<quint32>(width), 4);
            put(info, 8, static_cast<quint32>(height), 4);
            put(info, 12, 1, 2);
            put(info, 14, bits, 2);
            put(info, 16, compression, 4);
            put(info, 20, static_cast<quint32>(pixels.size()), 4);
            put(info, 32, coloursUsed, 4);
        }
        QByteArray after;
        for (std::size_t i = 0; i < masks.size(); ++i) {
            if (headerSize > 40) {
                put(info, 40 + 4 * static_cast<qsizetype>(i), masks[i], 4);
            } else {
                after.append(4, '\0');
                put(after, after.size() - 4, masks[i], 4);
            }
        }
        for (const QRgb colour : palette) {
            after.append(static_cast<char>(qBlue(colour)));
            after.append(static_cast<char>(qGreen(colour)));
            after.append(static_cast<char>(qRed(colour)));
            if (headerSize != 12) {
                after.append('\0');
            }
        }
        QByteArray file("BM");
        file.append(12, '\0');
        const qsizetype offset = file.size() + info.size() + after.size();
        file += info + after + pixels;
        put(file, 2, static_cast<quint32>(file.size()), 4);
        put(file, 10, static_cast<quint32>(offset), 4);
        return file;
    }
};

// One stored row from its bytes, padded to four bytes as bitmaps keep them.
inline QByteArray paddedRow(QByteArray row)
{
    while (row.size() % 4 != 0) {
        row.append('\0');
    }
    return row;
}
