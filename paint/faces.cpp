// The faces of the design's font families, from the table the build reads.
#include "paint/faces.h"

#include <algorithm>

namespace vorbix::paint {
namespace {

constexpr Face table[] = {
#include "faces_table.inc"
};

}  // namespace

std::span<const Face> faces() { return table; }

bool struck_twice(const FontSpec& font)
{
    if (!font.bold) return false;
    const auto face =
        std::find_if(std::begin(table), std::end(table), [&](const Face& f) { return f.family == font.family; });
    return face != std::end(table) && !face->has_bold;
}

}  // namespace vorbix::paint
