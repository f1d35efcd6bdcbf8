// The floor that bench/measure compares the game with: the least a Qt Widgets program does to
// ask the same question and then show a window like the game's. Its window has the game's
// client size and paints a yellow surface, seven labels, an outlined square and 296 hatched,
// outlined rectangles, of which a block of 16 is moved by a 50 ms precise timer, falling
// faster after Down; after ten blocks have fallen the timer stops and the window rests.
// With --zoom F the window is F times as large and drawn as the game draws its window at a
// zoom: the same picture under a scaled painter, fills, hatches, outlines and fonts grown
// together. It writes the same trace lines as the game (see qt/trace.h).
#include "platform/controls.h"
#include "qt/trace.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMessageBox>
#include <QPaintEvent>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <QTimer>
#include <QTransform>
#include <QWidget>

#include <array>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <vector>

namespace {

using vorbix::qt::trace;
using vorbix::qt::trace_first_paint;

// The game's layout, in twips: 1440 to the inch.
constexpr double cell = 292;
constexpr int grid_rows = 22;
constexpr int grid_columns = 12;
constexpr int blocks_to_finish = 10;

struct Box {
    QRectF place;  // logical pixels
    QColor fill;
    Qt::BrushStyle hatch;
    bool visible;
};

struct Caption {
    QRectF place;
    QString text;
    QFont font;
    bool opaque;
};

QFont font_of(const char* family, double points, bool bold, bool italic)
{
    QFont font(QString::fromLatin1(family));
    font.setPointSizeF(points);
    font.setBold(bold);
    font.setItalic(italic);
    return font;
}

class BaselineWindow : public QWidget {
public:
    BaselineWindow(bool hard_mode, double zoom) : hard_mode_(hard_mode), zoom_(zoom)
    {
        setWindowTitle(QStringLiteral("Vorbix"));
        setAttribute(Qt::WA_OpaquePaintEvent);
        setFocusPolicy(Qt::StrongFocus);
        pixels_per_twip_ = 1.0 / vorbix::twips_per_pixel(logicalDpiX());
        // 6304 by 6424 twips: 420 by 428 pixels at 96 dots per inch, times the zoom.
        setFixedSize(qRound(6304 * pixels_per_twip_ * zoom_), qRound(6424 * pixels_per_twip_ * zoom_));

        const QFont counter = font_of("Liberation Serif", 15.75, true, false);
        const double centre = 17 * cell;
        auto caption = [&](double width, double height, double top, const char* text, const QFont& font, bool opaque) {
            captions_.push_back(
                {twips(centre - width / 2, top, width, height), QString::fromLatin1(text), font, opaque});
        };
        caption(1575, 1215, 120, "Next Piece:", font_of("Z003", 20.25, true, true), true);
        caption(1860, 360, 3120, "Score:000000", counter, false);
        caption(2175, 360, 3720, "HiScore:000000", counter, false);
        caption(1335, 360, 4320, "Rows:000", counter, false);
        caption(1665, 360, 4920, "Blocks:0000", counter, false);
        caption(990, 360, 5520, "Level 0", counter, false);
        caption(2175, 360, 5940, "Playing", counter, false);
        preview_box_ = twips(centre - 1575.0 / 2, 1440, 1575, 1575);

        // The well: 264 cells, of which the 64 wall cells are shown.
        for (int row = 0; row < grid_rows; ++row) {
            for (int column = 0; column < grid_columns; ++column) {
                const bool wall = row == 0 || row == grid_rows - 1 || column == 0 || column == grid_columns - 1;
                boxes_.push_back({twips(60 + column * cell, 50 + row * cell, cell, cell), QColor(255, 0, 0),
                                  Qt::DiagCrossPattern, wall});
            }
        }
        // The preview: 16 cells, 4 shown.
        const double quarter = 1575.0 / 4;
        for (int a = 0; a < 4; ++a) {
            for (int b = 0; b < 4; ++b) {
                boxes_.push_back({twips(centre - 1575.0 / 2 + b * quarter, 1440 + a * quarter, quarter, quarter),
                                  QColor(0, 255, 0), Qt::HorPattern, shape_cell(a, b)});
            }
        }
        first_moving_ = static_cast<int>(boxes_.size());
        for (int k = 0; k < 16; ++k) {
            boxes_.push_back({QRectF(), QColor(0, 0, 192), Qt::VerPattern, shape_cell(k / 4, k % 4)});
        }
        place_block();

        gravity_.setTimerType(Qt::PreciseTimer);
        QObject::connect(&gravity_, &QTimer::timeout, [this] { tick(); });
        gravity_.start(50);
    }

protected:
    void paintEvent(QPaintEvent* event) override
    {
        QPainter painter(this);
        // Everything below is in the window's own pixels; the painter makes them the zoom's.
        painter.scale(zoom_, zoom_);
        painter.setRenderHint(QPainter::NonCosmeticBrushPatterns);
        const QRectF exposed = unzoomed(event->rect());
        painter.fillRect(exposed, QColor(255, 255, 0));
        for (const Caption& caption : captions_) {
            if (&caption == &captions_[level_caption] && !hard_mode_) continue;
            if (caption.opaque) painter.fillRect(caption.place, QColor(255, 0, 0));
            painter.save();
            painter.setClipRect(caption.place, Qt::IntersectClip);
            painter.setFont(caption.font);
            painter.setPen(Qt::black);
            painter.drawText(caption.place, Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap, caption.text);
            painter.restore();
        }
        outline(painter, preview_box_, QColor(0, 0, 255));
        for (const Box& box : boxes_) {
            if (!box.visible || !box.place.intersects(exposed)) continue;
            painter.fillRect(box.place, box.fill);
            painter.fillRect(box.place, QBrush(Qt::black, box.hatch));
            outline(painter, box.place, QColor(0, 0, 255));
        }
    }

    void keyPressEvent(QKeyEvent* event) override
    {
        if (event->key() == Qt::Key_Down) step_ = 1.0;
    }

private:
    // The T shape in the top rows of a 4 by 4 box.
    static bool shape_cell(int a, int b) { return (a == 1 && b < 3) || (a == 2 && b == 1); }

    QRectF twips(double left, double top, double width, double height) const
    {
        return QRectF(left * pixels_per_twip_, top * pixels_per_twip_, width * pixels_per_twip_,
                      height * pixels_per_twip_);
    }

    QRectF unzoomed(const QRect& rect) const
    {
        return QRectF(rect.x() / zoom_, rect.y() / zoom_, rect.width() / zoom_, rect.height() / zoom_);
    }

    static void outline(QPainter& painter, const QRectF& place, const QColor& colour)
    {
        painter.setPen(QPen(colour, 1.0));
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(place.adjusted(0.5, 0.5, -0.5, -0.5));
    }

    void place_block()
    {
        for (int k = 0; k < 16; ++k) {
            const int box_row = k / 4;
            const int box_column = k % 4;
            boxes_[first_moving_ + k].place =
                twips(50 + (3 + box_column + 1) * cell, 50 + (row_ + box_row + 1) * cell, cell, cell);
        }
    }

    QRegion moving_region() const
    {
        QRegion region;
        for (int k = 0; k < 16; ++k) {
            const Box& box = boxes_[first_moving_ + k];
            if (box.visible) region += box.place.toAlignedRect().adjusted(-1, -1, 1, 1);
        }
        return region;
    }

    void tick()
    {
        trace("tick1");
        QRegion changed = moving_region();
        row_ += step_;
        // The shape's lowest row rests on the floor row.
        if (row_ + 3 >= grid_rows - 2) {
            row_ = -4;
            step_ = 0.3;
            ++landed_;
            Caption& blocks = captions_[4];
            blocks.text = QStringLiteral("Blocks:%1").arg(landed_, 4, 10, QLatin1Char('0'));
            changed += blocks.place.toAlignedRect().adjusted(-1, -1, 1, 1);
            if (landed_ >= blocks_to_finish) {
                gravity_.stop();
                captions_[6].text = QStringLiteral("Game Over");
                changed += captions_[6].place.toAlignedRect().adjusted(-1, -1, 1, 1);
            }
        }
        place_block();
        changed += moving_region();
        update(QTransform::fromScale(zoom_, zoom_).map(changed) & rect());
    }

    static constexpr std::size_t level_caption = 5;
    bool hard_mode_;
    double zoom_;
    double pixels_per_twip_;
    std::vector<Caption> captions_;
    QRectF preview_box_;
    std::vector<Box> boxes_;
    int first_moving_ = 0;
    double row_ = -4;
    double step_ = 0.3;
    int landed_ = 0;
    QTimer gravity_;
};

// The question, asked as the game asks it: the box lives only while it is open.
bool ask_hard_mode()
{
    QMessageBox box;
    box.setWindowTitle(QStringLiteral("Difficulty"));
    box.setText(QStringLiteral("Hard Mode?"));
    box.setIcon(QMessageBox::NoIcon);
    QPushButton* yes = box.addButton(QMessageBox::Yes);
    QPushButton* no = box.addButton(QMessageBox::No);
    box.setDefaultButton(yes);
    box.setEscapeButton(no);
    trace_first_paint(box, "question-mapped");
    box.exec();
    trace("answered");
    return box.clickedButton() == yes;
}

}  // namespace

// The zoom of --zoom F, F from 1 to 4; 1 without it, nothing when the command line is wrong.
std::optional<double> zoom_of(int argc, char* argv[])
{
    if (argc == 1) return 1.0;
    if (argc != 3 || std::strcmp(argv[1], "--zoom") != 0) return std::nullopt;
    char* end = nullptr;
    const double zoom = std::strtod(argv[2], &end);
    if (end == argv[2] || *end != '\0' || !(zoom >= 1.0 && zoom <= 4.0)) return std::nullopt;
    return zoom;
}

int main(int argc, char* argv[])
{
    QApplication application(argc, argv);
    const std::optional<double> zoom = zoom_of(argc, argv);
    if (!zoom) {
        std::fprintf(stderr, "usage: vorbix_baseline [--zoom F], F from 1 to 4\n");
        return 2;
    }
    const bool hard_mode = ask_hard_mode();

    BaselineWindow window(hard_mode, *zoom);
    if (const QScreen* screen = window.screen()) {
        window.move(screen->availableGeometry().center() - QPoint(window.width() / 2, window.height() / 2));
    }
    window.show();
    trace("window-shown");
    window.raise();
    window.activateWindow();
    return QApplication::exec();
}
