#pragma once

#include <QImage>

// Scaling a photo's square down to the size the tiles are cut from.
namespace photo {

// Box-averages the square (x, y, side) of an RGB32 picture, in pixels of
// that picture and possibly fractional, to tileset::kPhotoSide pixels a
// side, each output pixel the mean over exactly the area it covers, rounded
// to nearest.
QImage averageDown(const QImage &picture, double x, double y, double side);

} // namespace photo
