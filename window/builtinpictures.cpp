#include "builtinpictures.h"

#include <QPainter>

BuiltinPictures BuiltinPictures::load()
{
    BuiltinPictures pictures;
    for (int v = 0; v < 16; ++v) {
        QPixmap tile(38, 38);
        tile.fill(v == 0 ? QColor(192, 192, 192) : QColor(255, 0, 0));
        if (v != 0) {
            QPainter painter(&tile);
            painter.setPen(QColor(4, 0, 0));
            painter.drawText(tile.rect(), Qt::AlignCenter, QString::number(v));
        }
        pictures.ImageMain[static_cast<std::size_t>(v)] = tile;
    }
    pictures.preview = QPixmap(66, 66);
    pictures.preview.fill(Qt::red);
    return pictures;
}
