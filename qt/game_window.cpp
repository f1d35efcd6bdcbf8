// The game window's client area: painting, the window-system children, keys and clicks.
#include "qt/game_window.h"

#include "qt/caption_button.h"
#include "qt/fonts.h"
#include "qt/key_map.h"

#include <QCloseEvent>
#include <QKeyEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QPalette>

#include <algorithm>

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

TwipScale GameWindow::scale() const { return TwipScale(logicalDpiX()); }

void GameWindow::forget_painted()
{
    painted_.reset();
    stacked_.clear();
}

void GameWindow::refresh()
{
    const std::optional<WindowView> window = view();
    if (!window) return;

    const QString title = QString::fromUtf8(window->caption.data(), static_cast<qsizetype>(window->caption.size()));
    if (windowTitle() != title) setWindowTitle(title);
    const TwipScale twips = scale();
    const QSize size(qRound(twips.pixels(window->client_width)), qRound(twips.pixels(window->client_height)));
    if (minimumSize() != size || maximumSize() != size) setFixedSize(size);

    for (const PushButton* button : window->buttons) sync_button(*button);
    for (const Panel* half : window->curtain) sync_curtain_half(*half);
    sync_stacking(window->stacking);

    SurfaceSnapshot now = snapshot_of(*window);
    // A hidden window is painted whole when it shows; working out what changed is wasted.
    if (!painted_ || !isVisible()) {
        update();
    } else {
        const QRegion changed = changed_region(*painted_, now, twips, rect());
        if (!changed.isEmpty()) update(changed);
    }
    painted_ = std::move(now);
}

void GameWindow::sync_button(const PushButton& button)
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
    const QRect place = scale().whole_pixels(button.place);
    if (widget.geometry() != place) widget.setGeometry(place);
    const QString caption = QString::fromStdString(button.caption);
    if (widget.text() != caption) widget.setText(caption);
    const QFont font = design_font(button.font);
    if (widget.font() != font) widget.setFont(font);
    if (widget.isHidden() == button.visible) widget.setVisible(button.visible);
}

void GameWindow::sync_curtain_half(const Panel& panel)
{
    auto found = curtain_.find(panel.name);
    if (found == curtain_.end()) {
        CurtainHalf half{new QFrame(this), nullptr};
        half.frame->setObjectName(QString::fromStdString(panel.name));
        half.inner = new QFrame(half.frame);
        half.inner->setObjectName(QString::fromStdString(panel.child_name));
        make_black(*half.frame);
        make_black(*half.inner);
        half.frame->hide();
        found = curtain_.emplace(panel.name, half).first;
    }
    const CurtainHalf& half = found->second;
    const TwipScale twips = scale();
    const QRect place = twips.whole_pixels(panel.place);
    if (half.frame->geometry() != place) half.frame->setGeometry(place);
    const QRect inner(0, 0, qRound(twips.pixels(panel.child_width)), qRound(twips.pixels(panel.child_height)));
    if (half.inner->geometry() != inner) half.inner->setGeometry(inner);
    if (half.frame->isHidden() == panel.visible) half.frame->setVisible(panel.visible);
}

void GameWindow::sync_stacking(std::span<const std::string_view> order)
{
    if (std::equal(order.begin(), order.end(), stacked_.begin(), stacked_.end())) return;
    stacked_.assign(order.begin(), order.end());
    for (const std::string& name : stacked_) {
        if (auto* widget = findChild<QWidget*>(QString::fromStdString(name), Qt::FindDirectChildrenOnly)) {
            widget->raise();
        }
    }
}

void GameWindow::click(const std::string& button)
{
    if (game_ == nullptr) return;
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
    paint_surface(painter, *window, scale(), QRectF(event->rect()));
}

void GameWindow::keyPressEvent(QKeyEvent* event)
{
    if (!view()) {
        QWidget::keyPressEvent(event);
        return;
    }
    // Held keys repeat: every repeat is a key-down of its own.
    game_->key_down(virtual_key(event->key()));
    refresh();
}

void GameWindow::closeEvent(QCloseEvent* event)
{
    event->accept();
    if (close_handler_) close_handler_();
}

}  // namespace vorbix::qt
