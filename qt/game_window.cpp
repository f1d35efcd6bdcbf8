// The game window's client area: painting, the window-system children, keys and clicks.
#include "qt/game_window.h"

#include "qt/accessible_window.h"
#include "qt/caption_button.h"
#include "qt/fonts.h"
#include "qt/key_map.h"
#include "qt/surface.h"
#include "qt/trace.h"

#include <QCloseEvent>
#include <QKeyEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QPalette>

#include <algorithm>
#include <cmath>

namespace vorbix::qt {
namespace {

void make_black(QFrame& frame)
{
    QPalette palette = frame.palette();
    palette.setColor(QPalette::Window, Qt::black);
    frame.setPalette(palette);
    frame.setAutoFillBackground(true);
    frame.setFrameShape(QFrame::NoFrame);
}

}  // namespace

GameWindow::GameWindow(GamePort* game) : game_(game)
{
    setObjectName(QStringLiteral("Form1"));
    setFocusPolicy(Qt::StrongFocus);
    // The whole exposed area is painted, background included.
    setAttribute(Qt::WA_OpaquePaintEvent);
    refresh();
}

void GameWindow::attach(GamePort* game)
{
    game_ = game;
    forget_painted();
    update();
}

std::optional<WindowView> GameWindow::view() const { return game_ != nullptr ? game_->window() : std::nullopt; }

// The plan is made at the window's own twips to a pixel, with every pixel the zoom's device
// pixels: the zoomed window is the window's own picture drawn anew at a finer grain.
paint::Scale GameWindow::scale() const
{
    return paint::Scale{twips_per_pixel(logicalDpiX()), devicePixelRatioF() * zoom_};
}

void GameWindow::set_zoom(double zoom)
{
    if (zoom == zoom_) return;
    zoom_ = zoom;
    forget_painted();
    refresh();
}

QSize GameWindow::own_size() const { return plan_ ? QSize(plan_->frame.width, plan_->frame.height) : QSize(); }

QRect GameWindow::zoomed(int left, int top, int width, int height) const
{
    const auto edge = [this](int pixels) { return static_cast<int>(std::lround(pixels * zoom_)); };
    return QRect(QPoint(edge(left), edge(top)), QPoint(edge(left + width) - 1, edge(top + height) - 1));
}

void GameWindow::forget_painted()
{
    plan_.reset();
    stacked_.clear();
}

void GameWindow::refresh()
{
    const std::optional<WindowView> window = view();
    if (!window) return;
    paint::PaintPlan next = paint::plan_of(*window, scale());
    sync_frame(next.frame);
    // A hidden window is painted whole when it shows; working out what changed is wasted.
    const bool whole = !plan_ || !isVisible();
    std::vector<paint::Box> changed;
    if (whole) {
        update();
    } else {
        changed = paint::changed_areas(&*plan_, next);
        if (!changed.empty()) update(logical_region(changed, devicePixelRatioF()) & rect());
    }
    // The measuring aid times the paint that shows this change: the surface's, or a button's
    // or the curtain's, which Qt repaints by itself.
    if (tracing() && (whole || !changed.empty() || next.frame != plan_->frame)) trace("changed");
    plan_ = std::move(next);
    announce_label_changes(*this, *window);
}

void GameWindow::sync_frame(const paint::Frame& frame)
{
    // The title is the real window's, whether this is the window or drawn inside one.
    const QString title = QString::fromStdString(frame.caption);
    if (window()->windowTitle() != title) window()->setWindowTitle(title);
    const QSize size = zoomed(0, 0, frame.width, frame.height).size();
    if (this->size() != size) resize(size);
    for (const paint::Widget& button : frame.buttons) sync_button(button);
    for (const paint::Widget& half : frame.curtain) sync_curtain_half(half);
    sync_stacking(frame.stacking);
}

void GameWindow::sync_button(const paint::Widget& button)
{
    auto found = buttons_.find(button.name);
    if (found == buttons_.end()) {
        auto* widget = new CaptionButton(this);
        widget->setObjectName(QString::fromStdString(button.name));
        widget->hide();
        connect(widget, &QPushButton::clicked, this, [this, name = button.name] { click(name); });
        found = buttons_.emplace(button.name, widget).first;
    }
    CaptionButton& widget = *found->second;
    const QRect place = zoomed(button.left, button.top, button.width, button.height);
    if (widget.geometry() != place) widget.setGeometry(place);
    const QString caption = QString::fromStdString(button.caption);
    if (widget.text() != caption) widget.setText(caption);
    QFont font = design_font(button.font);
    font.setPointSizeF(font.pointSizeF() * zoom_);
    if (widget.font() != font) widget.setFont(font);
    widget.show_lines(button.lines, button.line_advance * zoom_);
    if (widget.isHidden() == button.visible) widget.setVisible(button.visible);
}

void GameWindow::sync_curtain_half(const paint::Widget& half)
{
    auto found = curtain_.find(half.name);
    if (found == curtain_.end()) {
        CurtainHalf made{new QFrame(this), nullptr};
        made.frame->setObjectName(QString::fromStdString(half.name));
        made.inner = new QFrame(made.frame);
        made.inner->setObjectName(QString::fromStdString(half.inner_name));
        make_black(*made.frame);
        make_black(*made.inner);
        made.frame->hide();
        found = curtain_.emplace(half.name, made).first;
    }
    const CurtainHalf& frames = found->second;
    const QRect place = zoomed(half.left, half.top, half.width, half.height);
    if (frames.frame->geometry() != place) frames.frame->setGeometry(place);
    const QRect inner = zoomed(0, 0, half.inner_width, half.inner_height);
    if (frames.inner->geometry() != inner) frames.inner->setGeometry(inner);
    if (frames.frame->isHidden() == half.visible) frames.frame->setVisible(half.visible);
}

void GameWindow::sync_stacking(const std::vector<std::string>& order)
{
    if (order == stacked_) return;
    stacked_ = order;
    for (const std::string& name : stacked_) {
        if (auto* widget = findChild<QWidget*>(QString::fromStdString(name), Qt::FindDirectChildrenOnly)) {
            widget->raise();
        }
    }
}

void GameWindow::click(const std::string& button)
{
    if (game_ == nullptr) return;
    trace("click");
    game_->click(button);
    refresh();
}

void GameWindow::paintEvent(QPaintEvent* event)
{
    QPainter painter(this);
    const std::optional<WindowView> window = view();
    if (!window) {
        painter.fillRect(event->rect(), palette().color(QPalette::Window));
        return;
    }
    if (!plan_ || !(plan_->scale == scale())) plan_ = paint::plan_of(*window, scale());
    const paint::Box exposed = device_box(event->rect(), devicePixelRatioF());
    // The plan's logical pixels are the window's own; the zoom makes them the widget's.
    painter.scale(zoom_, zoom_);
    execute(painter, *plan_, paint::ops_within(*plan_, {&exposed, 1}));
}

void GameWindow::keyPressEvent(QKeyEvent* event)
{
    if (!view()) {
        QWidget::keyPressEvent(event);
        return;
    }
    press(*event);
}

void GameWindow::press(const QKeyEvent& event)
{
    // Held keys repeat: every repeat is a key-down of its own.
    if (game_ != nullptr && game_->key_down(virtual_key(event.key()))) refresh();
}

void GameWindow::closeEvent(QCloseEvent* event)
{
    event->accept();
    if (close_handler_) close_handler_();
}

}  // namespace vorbix::qt
