// Compares two pictures as the picture tests do, for the shell tests:
//   picture_compare ACTUAL EXPECTED [DIFF]
// exits 0 when they match within the tolerance, 1 when they differ (writing DIFF), 2 when a
// picture cannot be read.
#include "picture_compare.h"

#include <QImage>

#include <cstdio>

int main(int argc, char* argv[])
{
    if (argc < 3) {
        std::fputs("usage: picture_compare ACTUAL EXPECTED [DIFF]\n", stderr);
        return 2;
    }
    const QImage actual(QString::fromLocal8Bit(argv[1]));
    const QImage expected(QString::fromLocal8Bit(argv[2]));
    if (actual.isNull() || expected.isNull()) {
        std::fputs("picture_compare: a picture cannot be read\n", stderr);
        return 2;
    }
    const vorbix::picture::Tolerance tolerance;
    const vorbix::picture::Comparison result = vorbix::picture::compare(actual, expected, tolerance);
    std::printf("%s: %d pixels differ by more than %d, the largest by %d\n",
                result.same_size ? "same size" : "sizes differ", result.differing_pixels, tolerance.channel,
                result.largest_difference);
    if (result.matches(tolerance)) return 0;
    if (argc > 3) result.diff.save(QString::fromLocal8Bit(argv[3]));
    return 1;
}
