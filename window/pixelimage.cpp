#include "pixelimage.h"

#include <QPainter>

void PixelImage::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.drawPixmap(0, 0, pixmap());
}
