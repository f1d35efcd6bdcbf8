// The game window's client area: painting, the window-system children, keys and clicks.
#include "platform/qt/game_window.h"

#include "platform/qt/caption_button.h"
#include "platform/qt/fonts.h"
#include "platform/qt/key_map.h"

#include <QCloseEvent>
#include <QKeyEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QPalette>

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

GameWindow::GameWindow(Form1& form) : form_(form)
{
    setFocusPolicy(Qt::StrongFocus);
    // The whole exposed area is painted, background included.
    setAttribute(Qt::WA_OpaquePaintEvent);

    pause_ = new CaptionButton(this);
    game_over_ = new CaptionButton(this);
    pause_->hide();
    game_over_->hide();
    top_half_ = make_curtain_half();
    bottom_half_ = make_curtain_half();

    connect(pause_, &QPushButton::clicked, this, [this] { click(&FormControls::Pause, &Form1::Pause_Click); });
    connect(game_over_, &QPushButton::clicked, this,
            [this] { click(&FormControls::Command1, &Form1::Command1_Click); });
    refresh();
}

GameWindow::CurtainHalf GameWindow::make_curtain_half()
{
    CurtainHalf half{new QFrame(this), nullptr};
    half.inner = new QFrame(half.frame);
    make_black(*half.frame);
    make_black(*half.inner);
    half.frame->hide();
    return half;
}

TwipScale GameWindow::scale() const { return TwipScale(logicalDpiX()); }

QSize GameWindow::client_size(const FormControls& controls) const
{
    const TwipScale twips = scale();
    return QSize(qRound(twips.pixels(controls.client_width())), qRound(twips.pixels(controls.client_height())));
}

QWidget* GameWindow::widget_of(WidgetId widget) const
{
    switch (widget) {
    case WidgetId::pause_button: return pause_;
    case WidgetId::game_over_button: return game_over_;
    case WidgetId::curtain_top: return top_half_.frame;
    case WidgetId::curtain_bottom: return bottom_half_.frame;
    }
    return nullptr;
}

void GameWindow::forget_painted()
{
    painted_.reset();
    stacked_.clear();
}

void GameWindow::refresh()
{
    if (!form_.controls) return;
    const FormControls& controls = *form_.controls;

    const QString title = QString::fromStdString(controls.caption);
    if (windowTitle() != title) setWindowTitle(title);
    const QSize size = client_size(controls);
    if (minimumSize() != size || maximumSize() != size) setFixedSize(size);

    sync_button(*pause_, controls.Pause);
    sync_button(*game_over_, controls.Command1);
    sync_curtain_half(top_half_, controls.covertop);
    sync_curtain_half(bottom_half_, controls.coverbottom);
    sync_stacking(controls.widget_order);

    SurfaceSnapshot now = snapshot_of(controls);
    // A hidden window is painted whole when it shows; working out what changed is wasted.
    if (!painted_ || !isVisible()) {
        update();
    } else {
        const QRegion changed = changed_region(*painted_, now, scale(), rect());
        if (!changed.isEmpty()) update(changed);
    }
    painted_ = std::move(now);
}

void GameWindow::sync_button(CaptionButton& widget, const PushButton& button)
{
    const QRect place = scale().whole_pixels(button.place);
    if (widget.geometry() != place) widget.setGeometry(place);
    const QString caption = QString::fromStdString(button.caption);
    if (widget.text() != caption) widget.setText(caption);
    const QFont font = design_font(button.font);
    if (widget.font() != font) widget.setFont(font);
    if (widget.isHidden() == button.visible) widget.setVisible(button.visible);
}

void GameWindow::sync_curtain_half(CurtainHalf& half, const Panel& panel)
{
    const TwipScale twips = scale();
    const QRect place = twips.whole_pixels(panel.place);
    if (half.frame->geometry() != place) half.frame->setGeometry(place);
    const QRect inner(0, 0, qRound(twips.pixels(panel.child_width)), qRound(twips.pixels(panel.child_height)));
    if (half.inner->geometry() != inner) half.inner->setGeometry(inner);
    if (half.frame->isHidden() == panel.visible) half.frame->setVisible(panel.visible);
}

void GameWindow::sync_stacking(const std::vector<WidgetId>& order)
{
    if (order == stacked_) return;
    for (const WidgetId widget : order) widget_of(widget)->raise();
    stacked_ = order;
}

void GameWindow::click(PushButton FormControls::*button, void (Form1::*handler)())
{
    // A click can arrive from the event queue after the game has hidden the button.
    if (!form_.controls || !((*form_.controls).*button).visible) return;
    (form_.*handler)();
    refresh();
}

void GameWindow::paintEvent(QPaintEvent* event)
{
    QPainter painter(this);
    if (!form_.controls) {
        painter.fillRect(event->rect(), palette().color(QPalette::Window));
        return;
    }
    paint_surface(painter, *form_.controls, scale(), QRectF(event->rect()));
}

void GameWindow::keyPressEvent(QKeyEvent* event)
{
    if (!form_.controls) {
        QWidget::keyPressEvent(event);
        return;
    }
    // Held keys repeat: every repeat is a key-down of its own.
    form_.Form_KeyDown(virtual_key(event->key()), 0);
    refresh();
}

void GameWindow::closeEvent(QCloseEvent* event)
{
    event->accept();
    if (close_handler_) close_handler_();
}

}  // namespace vorbix::qt
