// The design names its fonts by the families of the game's original desktop; these map them
// to faces installed here with the same role (and, for Times New Roman, the same metrics).
#pragma once

#include "platform/controls.h"

#include <QFont>

namespace vorbix::qt {

// Registers the substitutions with Qt; call once, after the application object exists.
void substitute_design_fonts();

// The font of a control, by the design's family name.
QFont design_font(const FontSpec& design);

// Whether a bold font stands for a face that has no bold style of its own (the script face
// among them), so that its text has to be emboldened by hand.
bool lacks_bold_face(const QFont& font);

}  // namespace vorbix::qt
