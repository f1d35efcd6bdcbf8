// Breaking texts into lines with the faces' metrics.
#include "paint/text_lines.h"

#include "paint/face_metrics.h"
#include "paint/faces.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace vorbix::paint {
namespace {

// The metrics of the face that stands for a font's family; the first face's for a family
// the table does not name.
const FaceMetrics& metrics_of(const FontSpec& font)
{
    const auto all = face_metrics();
    const auto design =
        std::find_if(faces().begin(), faces().end(), [&](const Face& f) { return f.family == font.family; });
    const std::string_view face = design != faces().end() ? design->face : faces().front().face;
    const auto found = std::find_if(all.begin(), all.end(), [&](const FaceMetrics& m) { return m.face == face; });
    return found != all.end() ? *found : all.front();
}

// In font units; a character the metrics do not cover as half an em.
int advance_of(const FaceMetrics& face, char c)
{
    if (c < first_measured || c > last_measured) return face.units_per_em / 2;
    return face.advances[static_cast<std::size_t>(c - first_measured)];
}

// The pairs are sorted by their characters.
int kerning_of(const FaceMetrics& face, char left, char right)
{
    const auto before = [](const KernPair& k, std::pair<char, char> p) { return std::pair(k.left, k.right) < p; };
    const auto pair = std::lower_bound(face.kerning.begin(), face.kerning.end(), std::pair(left, right), before);
    return pair != face.kerning.end() && pair->left == left && pair->right == right ? pair->adjustment : 0;
}

}  // namespace

double pixel_size(const FontSpec& font, double twips_per_pixel)
{
    return static_cast<double>(font.points) * twips_per_point / twips_per_pixel;
}

double text_width(std::string_view text, const FontSpec& font, double twips_per_pixel)
{
    const FaceMetrics& face = metrics_of(font);
    long units = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        units += advance_of(face, text[i]);
        if (i + 1 < text.size()) units += kerning_of(face, text[i], text[i + 1]);
    }
    return static_cast<double>(units) * pixel_size(font, twips_per_pixel) / face.units_per_em;
}

std::vector<TextLine> broken_lines(std::string_view text, const FontSpec& font, double twips_per_pixel, double width)
{
    std::vector<TextLine> lines;
    for (std::size_t start = 0; start <= text.size();) {
        const std::size_t blank = std::min(text.find(' ', start), text.size());
        const std::string_view word = text.substr(start, blank - start);
        if (!lines.empty()) {
            const std::string longer = lines.back().text + ' ' + std::string(word);
            const double longer_width = text_width(longer, font, twips_per_pixel);
            if (longer_width <= width) {
                lines.back() = TextLine{longer, longer_width};
                start = blank + 1;
                continue;
            }
        }
        lines.push_back(TextLine{std::string(word), text_width(word, font, twips_per_pixel)});
        start = blank + 1;
    }
    return lines;
}

double line_advance(const FontSpec& font, double twips_per_pixel)
{
    const FaceMetrics& face = metrics_of(font);
    return std::ceil(static_cast<double>(face.ascent + face.descent) * pixel_size(font, twips_per_pixel) /
                     face.units_per_em);
}

}  // namespace vorbix::paint
