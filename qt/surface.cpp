// Painting the window's surface from the control data, and finding what changed.
#include "qt/surface.h"

#include "qt/fonts.h"

#include <QBrush>
#include <QColor>
#include <QFont>
#include <QPaintDevice>
#include <QPainter>

#include <algorithm>
#include <cmath>

namespace vorbix::qt {
namespace {

QColor colour_of(Rgb rgb) { return QColor(rgb.red, rgb.green, rgb.blue); }

// The device pixels per logical pixel of what is painted on: 2 on a screen scaled by two.
qreal pixel_ratio(const QPainter& painter) { return painter.device()->devicePixelRatio(); }

// A rectangle moved to the nearest edges between device pixels, so that its fill, its hatch
// and its outline cover exactly the same whole pixels at every scale (a half-twip position
// falls between two pixels, and each edge would otherwise round on its own).
QRectF snapped(const QRectF& place, qreal ratio)
{
    const qreal left = std::round(place.left() * ratio);
    const qreal top = std::round(place.top() * ratio);
    const qreal right = std::round(place.right() * ratio);
    const qreal bottom = std::round(place.bottom() * ratio);
    return QRectF(left / ratio, top / ratio, (right - left) / ratio, (bottom - top) / ratio);
}

// A little wider than the rectangle itself, so that rounding at the edges and the outline
// drawn on them are always covered.
QRect repaint_rect(const QRectF& place) { return place.toAlignedRect().adjusted(-1, -1, 1, 1); }

Qt::BrushStyle hatch_of(int pattern)
{
    switch (pattern) {
    case horizontal_lines: return Qt::HorPattern;
    case vertical_lines: return Qt::VerPattern;
    case upward_diagonal: return Qt::BDiagPattern;
    case downward_diagonal: return Qt::FDiagPattern;
    case cross_hatch: return Qt::CrossPattern;
    case diagonal_cross: return Qt::DiagCrossPattern;
    default: return Qt::NoBrush;
    }
}

void paint_label(QPainter& painter, const Label& label, const TwipScale& scale)
{
    const QRectF place = snapped(scale.pixels(label.place), pixel_ratio(painter));
    if (label.opaque_background) painter.fillRect(place, colour_of(label.background));
    painter.save();
    painter.setClipRect(place, Qt::IntersectClip);
    const QFont font = design_font(label.font);
    painter.setFont(font);
    painter.setPen(Qt::black);
    const QString text = QString::fromStdString(label.text);
    const int flags = Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap;
    painter.drawText(place, flags, text);
    // A face without a bold style is struck a second time, a pixel to the right.
    if (lacks_bold_face(font)) painter.drawText(place.translated(1.0, 0.0), flags, text);
    painter.restore();
}

// A line one logical pixel wide (in whole device pixels) just inside the rectangle's edge,
// painted as four strips so that its corners are always closed.
void paint_outline(QPainter& painter, const QRectF& place, Rgb colour)
{
    const qreal ratio = pixel_ratio(painter);
    const QRectF edge = snapped(place, ratio);
    const qreal width = std::max<qreal>(1.0, std::round(ratio)) / ratio;
    const QColor line = colour_of(colour);
    const qreal across = std::min(width, edge.width());
    const qreal down = std::min(width, edge.height());
    painter.fillRect(QRectF(edge.left(), edge.top(), edge.width(), down), line);
    painter.fillRect(QRectF(edge.left(), edge.bottom() - down, edge.width(), down), line);
    painter.fillRect(QRectF(edge.left(), edge.top(), across, edge.height()), line);
    painter.fillRect(QRectF(edge.right() - across, edge.top(), across, edge.height()), line);
}

void paint_sprite(QPainter& painter, const CellSprite& sprite, const TwipScale& scale)
{
    const QRectF place = snapped(scale.pixels(sprite.place), pixel_ratio(painter));
    painter.fillRect(place, colour_of(sprite.fill));
    const Qt::BrushStyle hatch = hatch_of(sprite.pattern);
    if (hatch != Qt::NoBrush) painter.fillRect(place, QBrush(Qt::black, hatch));
    paint_outline(painter, place, sprite.outline);
}

// Whether two states of one sprite look different on the surface.
bool looks_different(const CellSprite* before, const CellSprite* after)
{
    const bool shown_before = before != nullptr && before->visible;
    const bool shown_after = after != nullptr && after->visible;
    if (!shown_before && !shown_after) return false;
    if (shown_before != shown_after) return true;
    return !(*before == *after);
}

}  // namespace

QRectF TwipScale::pixels(const Rect& place) const
{
    return QRectF(pixels(place.left), pixels(place.top), pixels(place.width), pixels(place.height));
}

QRect TwipScale::whole_pixels(const Rect& place) const
{
    return QRect(qRound(pixels(place.left)), qRound(pixels(place.top)), qRound(pixels(place.width)),
                 qRound(pixels(place.height)));
}

SurfaceSnapshot snapshot_of(const WindowView& window)
{
    SurfaceSnapshot snapshot;
    snapshot.background = window.background;
    for (const Label* label : window.labels) snapshot.labels.push_back(*label);
    snapshot.backdrop = *window.outline;
    for (const SpritePool* pool : window.pools) {
        auto& sprites = snapshot.pools.emplace_back();
        sprites.reserve(static_cast<std::size_t>(pool->size()));
        for (int k = 0; k < pool->size(); ++k) {
            // An element that was never created is shown by nothing: it stands as hidden.
            sprites.push_back(pool->exists(k) ? (*pool)[k] : CellSprite{});
        }
    }
    return snapshot;
}

QRegion changed_region(const SurfaceSnapshot& before, const SurfaceSnapshot& after, const TwipScale& scale,
                       const QRect& whole_surface)
{
    if (!(before.background == after.background) || before.labels.size() != after.labels.size() ||
        before.pools.size() != after.pools.size()) {
        return QRegion(whole_surface);
    }
    QRegion region;
    for (std::size_t i = 0; i < after.labels.size(); ++i) {
        if (before.labels[i] == after.labels[i]) continue;
        region += repaint_rect(scale.pixels(before.labels[i].place));
        region += repaint_rect(scale.pixels(after.labels[i].place));
    }
    if (!(before.backdrop == after.backdrop)) {
        region += repaint_rect(scale.pixels(before.backdrop.place));
        region += repaint_rect(scale.pixels(after.backdrop.place));
    }
    for (std::size_t p = 0; p < after.pools.size(); ++p) {
        const auto& old_sprites = before.pools[p];
        const auto& new_sprites = after.pools[p];
        const std::size_t count = std::max(old_sprites.size(), new_sprites.size());
        for (std::size_t k = 0; k < count; ++k) {
            const CellSprite* old_sprite = k < old_sprites.size() ? &old_sprites[k] : nullptr;
            const CellSprite* new_sprite = k < new_sprites.size() ? &new_sprites[k] : nullptr;
            if (!looks_different(old_sprite, new_sprite)) continue;
            if (old_sprite != nullptr && old_sprite->visible) region += repaint_rect(scale.pixels(old_sprite->place));
            if (new_sprite != nullptr && new_sprite->visible) region += repaint_rect(scale.pixels(new_sprite->place));
        }
    }
    return region & whole_surface;
}

void paint_surface(QPainter& painter, const WindowView& window, const TwipScale& scale, const QRectF& exposed)
{
    // The hatches scale with the rest of the picture: on a screen scaled by two their lines
    // are two device pixels wide and twice as far apart, as the cells are twice as large.
    painter.setRenderHint(QPainter::NonCosmeticBrushPatterns);
    painter.fillRect(exposed, colour_of(window.background));
    for (const Label* label : window.labels) {
        if (label->visible) paint_label(painter, *label, scale);
    }
    if (window.outline->visible) paint_outline(painter, scale.pixels(window.outline->place), window.outline->colour);

    for (const ShownSprite& shown : sprites_bottom_up(window)) {
        if (scale.pixels(shown.sprite->place).intersects(exposed)) paint_sprite(painter, *shown.sprite, scale);
    }
}

}  // namespace vorbix::qt
