// Executing the paint plan with QPainter.
#include "qt/surface.h"

#include "qt/fonts.h"

#include <QBrush>
#include <QColor>
#include <QImage>
#include <QPainter>

#include <array>
#include <cmath>

namespace vorbix::qt {
namespace {

QColor colour_of(Rgb rgb) { return QColor(rgb.red, rgb.green, rgb.blue); }

QRectF logical(const paint::Box& box, double ratio)
{
    return QRectF(box.left / ratio, box.top / ratio, box.width / ratio, box.height / ratio);
}

// The black lines of a fill pattern, as a brush of its tile.
const QBrush& hatch_brush(FillPattern pattern)
{
    static std::array<QBrush, diagonal_cross + 1> brushes;
    QBrush& brush = brushes[static_cast<std::size_t>(pattern)];
    if (brush.style() == Qt::NoBrush) {
        QImage tile(8, 8, QImage::Format_ARGB32_Premultiplied);
        tile.fill(Qt::transparent);
        const auto rows = paint::hatch_tile(pattern);
        for (int y = 0; y < 8; ++y) {
            for (int x = 0; x < 8; ++x) {
                if ((rows[static_cast<std::size_t>(y)] >> x) & 1) tile.setPixel(x, y, qRgb(0, 0, 0));
            }
        }
        brush = QBrush(tile);
    }
    return brush;
}

}  // namespace

void execute(QPainter& painter, const paint::PaintPlan& plan, std::span<const paint::PaintOp> ops)
{
    const double ratio = plan.scale.ratio;
    for (const paint::PaintOp& op : ops) {
        const QRectF box = logical(op.box, ratio);
        switch (op.kind) {
        case paint::PaintOp::Kind::fill: painter.fillRect(box, colour_of(op.colour)); break;
        case paint::PaintOp::Kind::hatch: painter.fillRect(box, hatch_brush(op.pattern)); break;
        case paint::PaintOp::Kind::text: {
            const paint::TextRun& run = plan.runs[static_cast<std::size_t>(op.run)];
            painter.save();
            painter.setClipRect(logical(run.clip, ratio), Qt::IntersectClip);
            painter.setFont(design_font(run.font));
            painter.setPen(colour_of(op.colour));
            painter.drawText(box, Qt::AlignLeft | Qt::AlignTop | Qt::TextDontClip, QString::fromStdString(run.text));
            painter.restore();
            break;
        }
        }
    }
}

QRect logical_rect(const paint::Box& box, double ratio)
{
    const int left = static_cast<int>(std::floor(box.left / ratio));
    const int top = static_cast<int>(std::floor(box.top / ratio));
    const int right = static_cast<int>(std::ceil(box.right() / ratio));
    const int bottom = static_cast<int>(std::ceil(box.bottom() / ratio));
    return QRect(left, top, right - left, bottom - top);
}

QRegion logical_region(std::span<const paint::Box> boxes, double ratio)
{
    QRegion region;
    for (const paint::Box& box : boxes) region += logical_rect(box, ratio);
    return region;
}

paint::Box device_box(const QRect& logical, double ratio)
{
    return paint::Box{logical.x() * ratio, logical.y() * ratio, logical.width() * ratio, logical.height() * ratio};
}

}  // namespace vorbix::qt
