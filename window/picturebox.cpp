#include "picturebox.h"

#include <QMouseEvent>
#include <QPainter>

#include <algorithm>
#include <cmath>

PictureBox::PictureBox(QWidget *parent)
    : QWidget(parent)
{
    setFocusPolicy(Qt::StrongFocus);
}

void PictureBox::setPicture(const QPixmap &picture)
{
    picture_ = picture;
    update();
}

void PictureBox::paintEvent(QPaintEvent *)
{
    // The border lines at 0 and 40 are filled from their logical position
    // rightwards and downwards, a whole number of device pixels wide: one
    // per logical pixel, rounded. So every grid line is equally thick at any
    // scale, and the line two neighbours share is the same pixels in both.
    // A pen would centre its line on the edge, and the outer half of the
    // board's top and left lines would fall outside the cells.
    QPainter painter(this);
    const qreal ratio = devicePixelRatioF();
    const qreal line = std::max(1.0, std::round(ratio)) / ratio;
    const qreal far = width() - 1;
    painter.fillRect(QRectF(0, 0, width(), line), Qt::black);
    painter.fillRect(QRectF(0, far, width(), line), Qt::black);
    painter.fillRect(QRectF(0, 0, line, height()), Qt::black);
    painter.fillRect(QRectF(far, 0, line, height()), Qt::black);
    const QRectF inside(line, line, far - line, far - line);
    painter.setClipRect(inside);
    painter.drawPixmap(inside.topLeft(), picture_);
}

void PictureBox::mousePressEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton) {
        pressed_ = true;
        event->accept();
        return;
    }
    QWidget::mousePressEvent(event);
}

void PictureBox::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton && pressed_) {
        pressed_ = false;
        event->accept();
        if (rect().contains(event->position().toPoint())) {
            emit clicked();
        }
        return;
    }
    QWidget::mouseReleaseEvent(event);
}
