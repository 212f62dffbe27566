#include "areaaverage.h"

#include "photoside.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace photo {
namespace {

constexpr int kSide = tileset::kPhotoSide;

// Area weights of the source pixels that each of the kSide output pixels
// covers, along one axis: output i covers [start + i*step, start + (i+1)*step).
struct Taps {
    std::vector<int> first; // per output pixel
    std::vector<int> count;
    std::vector<int> offset; // into weight
    std::vector<double> weight;
};

Taps taps(double start, double length, int limit)
{
    Taps taps;
    const double step = length / kSide;
    for (int i = 0; i < kSide; ++i) {
        const double from = start + i * step;
        const double to = from + step;
        const int first = std::max(0, static_cast<int>(std::floor(from)));
        const int end = std::min(limit, static_cast<int>(std::ceil(to)));
        taps.first.push_back(first);
        taps.count.push_back(std::max(0, end - first));
        taps.offset.push_back(static_cast<int>(taps.weight.size()));
        for (int j = first; j < end; ++j) {
            taps.weight.push_back(std::min(to, j + 1.0) - std::max(from, double(j)));
        }
    }
    return taps;
}

} // namespace

QImage averageDown(const QImage &picture, double x, double y, double side)
{
    const Taps across = taps(x, side, picture.width());
    const Taps down = taps(y, side, picture.height());
    QImage square(kSide, kSide, QImage::Format_RGB32);
    std::vector<double> row(3 * kSide);
    std::vector<double> sum(3 * kSide);
    for (int oy = 0; oy < kSide; ++oy) {
        std::fill(sum.begin(), sum.end(), 0.0);
        double rowWeight = 0.0;
        for (int k = 0; k < down.count[oy]; ++k) {
            const double wy = down.weight[down.offset[oy] + k];
            const auto *line = reinterpret_cast<const QRgb *>(picture.constScanLine(down.first[oy] + k));
            for (int ox = 0; ox < kSide; ++ox) {
                double r = 0.0;
                double g = 0.0;
                double b = 0.0;
                for (int t = 0; t < across.count[ox]; ++t) {
                    const double wx = across.weight[across.offset[ox] + t];
                    const QRgb pixel = line[across.first[ox] + t];
                    r += wx * qRed(pixel);
                    g += wx * qGreen(pixel);
                    b += wx * qBlue(pixel);
                }
                row[3 * ox] = r;
                row[3 * ox + 1] = g;
                row[3 * ox + 2] = b;
            }
            for (int i = 0; i < 3 * kSide; ++i) {
                sum[i] += wy * row[i];
            }
            rowWeight += wy;
        }
        auto *out = reinterpret_cast<QRgb *>(square.scanLine(oy));
        for (int ox = 0; ox < kSide; ++ox) {
            double colWeight = 0.0;
            for (int t = 0; t < across.count[ox]; ++t) {
                colWeight += across.weight[across.offset[ox] + t];
            }
            const double area = rowWeight * colWeight;
            const auto channel = [&](int c) {
                return area > 0.0 ? std::clamp(static_cast<int>(std::lround(sum[3 * ox + c] / area)), 0, 255) : 0;
            };
            out[ox] = qRgb(channel(0), channel(1), channel(2));
        }
    }
    return square;
}

} // namespace photo
