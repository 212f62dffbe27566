#include "boardframe.h"

#include <QPainter>
#include <qdrawutil.h>

void BoardFrame::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    qDrawShadeRect(&painter, rect(), palette(), true, 1, 0);
}
