// The window's own surface: the labels, the preview box's outline and the cell sprites, all
// painted from the control data. Painting reads that data and never changes it; a snapshot of
// what was last shown tells which parts of the surface need painting again.
#pragma once

#include "platform/window_view.h"

#include <QRect>
#include <QRectF>
#include <QRegion>

#include <vector>

class QPainter;

namespace vorbix::qt {

// Twips to logical pixels: 1440 twips to the inch at the screen's logical resolution.
class TwipScale {
public:
    explicit TwipScale(double logical_dpi) : twips_per_pixel_(1440.0 / logical_dpi) {}

    double pixels(float twips) const { return static_cast<double>(twips) / twips_per_pixel_; }
    QRectF pixels(const Rect& place) const;
    // A window-system control's place, which Qt keeps in whole pixels.
    QRect whole_pixels(const Rect& place) const;

private:
    double twips_per_pixel_;
};

// What the surface showed at one moment: the background, the labels, the outline and every
// sprite of every pool, in the order of the window's view.
struct SurfaceSnapshot {
    Rgb background;
    std::vector<Label> labels;
    Outline backdrop;
    std::vector<std::vector<CellSprite>> pools;
};

SurfaceSnapshot snapshot_of(const WindowView& window);

// The logical pixels whose picture differs between two snapshots.
QRegion changed_region(const SurfaceSnapshot& before, const SurfaceSnapshot& after, const TwipScale& scale,
                       const QRect& whole_surface);

// Paints what lies inside exposed: the background, the labels, the outline, then the visible
// cell sprites by their stacking order.
void paint_surface(QPainter& painter, const WindowView& window, const TwipScale& scale, const QRectF& exposed);

}  // namespace vorbix::qt
