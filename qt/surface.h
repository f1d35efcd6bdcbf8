// The window's own surface: the paint plan's operations executed with QPainter. Painting in
// logical pixels, a box's device pixels divided by the plan's ratio, lands every edge on the
// device pixel the plan chose.
#pragma once

#include "paint/plan.h"

#include <QRect>
#include <QRegion>

#include <span>

class QPainter;

namespace vorbix::qt {

// Paints operations of a plan (those of ops_within, say) in the plan's ratio.
void execute(QPainter& painter, const paint::PaintPlan& plan, std::span<const paint::PaintOp> ops);

// A box of device pixels as the logical pixels Qt updates: every pixel it touches.
QRect logical_rect(const paint::Box& box, double ratio);
QRegion logical_region(std::span<const paint::Box> boxes, double ratio);
paint::Box device_box(const QRect& logical, double ratio);

}  // namespace vorbix::qt
