// The font substitutions for the design's family names.
#include "qt/fonts.h"

#include "paint/faces.h"

#include <QString>

namespace vorbix::qt {
namespace {

QString text_of(std::string_view text) { return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())); }

}  // namespace

void substitute_design_fonts()
{
    for (const paint::Face& face : paint::faces()) QFont::insertSubstitution(text_of(face.family), text_of(face.face));
}

QFont design_font(const FontSpec& design)
{
    QFont font(QString::fromStdString(design.family));
    font.setPointSizeF(static_cast<qreal>(design.points));
    font.setBold(design.bold);
    font.setItalic(design.italic);
    return font;
}

}  // namespace vorbix::qt
