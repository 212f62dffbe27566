#pragma once

#include <QLabel>

// An image control: its picture at natural size from the top-left corner.
// Unlike QLabel's own drawing, a high-density screen enlarges it pixel for
// pixel instead of smoothing it.
class PixelImage : public QLabel {
    Q_OBJECT

public:
    using QLabel::QLabel;

protected:
    void paintEvent(QPaintEvent *event) override;
};
