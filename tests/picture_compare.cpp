// Pixel by pixel comparison of two pictures, and the diff picture that shows where they part.
#include "picture_compare.h"

#include <QColor>

#include <algorithm>
#include <cstdlib>

namespace vorbix::picture {
namespace {

int channel_difference(QRgb a, QRgb b)
{
    return std::max({std::abs(qRed(a) - qRed(b)), std::abs(qGreen(a) - qGreen(b)), std::abs(qBlue(a) - qBlue(b))});
}

// A pale grey version of a pixel, so that the red marks stand out.
QRgb faded(QRgb pixel)
{
    const int grey = 160 + qGray(pixel) * 95 / 255;
    return qRgb(grey, grey, grey);
}

}  // namespace

Comparison compare(const QImage& actual, const QImage& expected, const Tolerance& tolerance)
{
    Comparison result;
    const QImage a = actual.convertToFormat(QImage::Format_RGB32);
    const QImage e = expected.convertToFormat(QImage::Format_RGB32);
    result.same_size = !a.isNull() && a.size() == e.size();
    result.diff = QImage(a.size(), QImage::Format_RGB32);
    for (int y = 0; y < a.height(); ++y) {
        for (int x = 0; x < a.width(); ++x) {
            const QRgb pixel = a.pixel(x, y);
            const bool inside = x < e.width() && y < e.height();
            const int difference = inside ? channel_difference(pixel, e.pixel(x, y)) : 255;
            result.largest_difference = std::max(result.largest_difference, difference);
            const bool differs = difference > tolerance.channel;
            if (differs) ++result.differing_pixels;
            result.diff.setPixel(x, y, differs ? qRgb(255, 0, 0) : faded(pixel));
        }
    }
    return result;
}

}  // namespace vorbix::picture
