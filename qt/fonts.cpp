// The font substitutions for the design's family names.
#include "qt/fonts.h"

#include <QFont>
#include <QFontDatabase>
#include <QFontInfo>
#include <QStringList>

#include <algorithm>

namespace vorbix::qt {

void substitute_design_fonts()
{
    QFont::insertSubstitution("Times New Roman", "Liberation Serif");
    QFont::insertSubstitution("Garamond", "EB Garamond");
    QFont::insertSubstitution("Lucida Sans Unicode", "DejaVu Sans");
    // URW Chancery, a script face like the design's handwriting font.
    QFont::insertSubstitution("Lucida Handwriting", "Z003");
}

}  // namespace vorbix::qt

namespace vorbix::qt {

QFont design_font(const FontSpec& design)
{
    QFont font(QString::fromStdString(design.family));
    font.setPointSizeF(static_cast<qreal>(design.points));
    font.setBold(design.bold);
    font.setItalic(design.italic);
    return font;
}

bool lacks_bold_face(const QFont& font)
{
    if (!font.bold()) return false;
    const QString family = QFontInfo(font).family();
    const QStringList styles = QFontDatabase::styles(family);
    return std::none_of(styles.begin(), styles.end(), [&family](const QString& style) {
        return QFontDatabase::weight(family, style) >= QFont::Bold;
    });
}

}  // namespace vorbix::qt
