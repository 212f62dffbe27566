#pragma once

#include <QPixmap>
#include <QWidget>

// A board cell: shows one picture at its natural size from the inside corner
// of a one-pixel border, and reports a click as a push button takes it (left
// press and release on the same cell). It handles no keys.
class PictureBox : public QWidget {
    Q_OBJECT

public:
    explicit PictureBox(QWidget *parent = nullptr);

    const QPixmap &picture() const { return picture_; }
    void setPicture(const QPixmap &picture);

    QSize sizeHint() const override { return {41, 41}; }

    // Clicks the cell as the player's left button does.
    void click() { emit clicked(); }

signals:
    void clicked();

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    QPixmap picture_;
    bool pressed_ = false;
};
