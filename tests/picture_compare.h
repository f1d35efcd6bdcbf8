// Comparing a rendered picture with its reference: every pixel may differ a little in each
// colour channel (text is antialiased slightly differently from one font build to another),
// and a few pixels may differ more; anything beyond that is a changed picture.
#pragma once

#include <QImage>
#include <QString>

namespace vorbix::picture {

struct Tolerance {
    int channel = 24;       // the largest difference of one channel that still counts as equal
                            // (less than the 30 steps between two piece styles)
    int stray_pixels = 64;  // how many pixels may still differ beyond that
};

struct Comparison {
    bool same_size = false;
    int differing_pixels = 0;
    int largest_difference = 0;
    // The actual picture, faded, with every differing pixel in bright red.
    QImage diff;

    bool matches(const Tolerance& tolerance) const { return same_size && differing_pixels <= tolerance.stray_pixels; }
};

Comparison compare(const QImage& actual, const QImage& expected, const Tolerance& tolerance);

}  // namespace vorbix::picture
