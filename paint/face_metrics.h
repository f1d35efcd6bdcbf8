// The metrics of the faces that stand for the design's font families, read from their font
// files (paint/face_metrics.py writes face_metrics.txt from the files of paint/faces.txt).
// The faces are ours and fixed, so the plan can measure a text as the executors draw it.
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string_view>

namespace vorbix::paint {

// The printable ASCII characters that the metrics cover, from the blank to the tilde.
inline constexpr char first_measured = ' ';
inline constexpr char last_measured = '~';

struct KernPair {
    char left;
    char right;
    std::int16_t adjustment;  // in font units
};

struct FaceMetrics {
    std::string_view face;
    int units_per_em = 1000;
    // Above and below the baseline, as the window system measures a line of the face.
    int ascent = 0;
    int descent = 0;
    std::array<std::int16_t, last_measured - first_measured + 1> advances{};
    std::span<const KernPair> kerning;
};

// The metrics of every face of paint/faces.txt, in its order.
std::span<const FaceMetrics> face_metrics();

}  // namespace vorbix::paint
