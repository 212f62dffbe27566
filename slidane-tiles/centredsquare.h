#pragma once

#include <QSize>

#include <algorithm>

namespace photo {

// The largest square in the middle of a picture, in its pixels; the origin
// is a half pixel off the grid when the margins cannot be equal.
struct CentredSquare {
    double x;
    double y;
    double side;
};

inline CentredSquare centredSquare(QSize size)
{
    const double side = std::min(size.width(), size.height());
    return {(size.width() - side) / 2, (size.height() - side) / 2, side};
}

} // namespace photo
