#pragma once

#include <QGroupBox>

// The frame around the board: an etched line along its edges, drawn with
// plain lines. A style's own group-box frame may be a picture stretched to
// size, which costs the first paint an image-plugin scan and a pool of
// drawing threads.
class BoardFrame : public QGroupBox {
public:
    using QGroupBox::QGroupBox;

protected:
    void paintEvent(QPaintEvent *event) override;
};
