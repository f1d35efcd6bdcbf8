// The faces' metrics, from the table the build makes of paint/face_metrics.txt.
#include "paint/face_metrics.h"

namespace vorbix::paint {
namespace {

#include "face_metrics_kerning.inc"

constexpr FaceMetrics table[] = {
#include "face_metrics_table.inc"
};

}  // namespace

std::span<const FaceMetrics> face_metrics() { return table; }

}  // namespace vorbix::paint
