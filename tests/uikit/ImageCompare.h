// Comparison of a snapshot with its reference image.
#pragma once

#include <QImage>

#include <cstdlib>

// Share of pixels whose grey level differs by more than a quarter of the
// range; images of different sizes differ wholly.
inline double DifferentShare(const QImage& a, const QImage& b)
{
    if (a.size() != b.size()) return 1.0;
    long long differ = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x)
            if (std::abs(qGray(a.pixel(x, y)) - qGray(b.pixel(x, y))) > 64) ++differ;
    return static_cast<double>(differ) / (static_cast<double>(a.width()) * a.height());
}
