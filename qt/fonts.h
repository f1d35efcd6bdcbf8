// The design names its fonts by the families of the game's original desktop; Qt substitutes
// for each the installed face of the faces table (paint/faces.txt).
#pragma once

#include "platform/controls.h"

#include <QFont>

namespace vorbix::qt {

// Registers the substitutions with Qt; call once, after the application object exists.
void substitute_design_fonts();

// The font of a control, by the design's family name.
QFont design_font(const FontSpec& design);

}  // namespace vorbix::qt
