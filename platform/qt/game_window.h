// The game window's client area: one widget that paints the labels, the preview box and the
// cell sprites from Form1's controls, with real Qt children for the two buttons and the two
// curtain halves. Keys and clicks go to Form1's events; after each event refresh() brings the
// children and the picture up to date, repainting only what changed.
#pragma once

#include "platform/qt/surface.h"
#include "window/form1.h"

#include <QFrame>
#include <QWidget>

#include <functional>
#include <optional>
#include <vector>

namespace vorbix::qt {

class CaptionButton;

class GameWindow : public QWidget {
public:
    explicit GameWindow(Form1& form);

    // Follows the control data: window size and title, buttons, curtain halves, stacking, and
    // the parts of the surface that changed since the last refresh.
    void refresh();
    // The window was built afresh: everything is painted again at the next refresh.
    void forget_painted();

    // Called instead of closing when the player closes the window.
    void on_close(std::function<void()> handler) { close_handler_ = std::move(handler); }

    TwipScale scale() const;
    QWidget* widget_of(WidgetId widget) const;
    // The client size in pixels for the window's outer size in twips.
    QSize client_size(const FormControls& controls) const;

protected:
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    // A curtain half: a black frame holding a black rectangle at its top left corner.
    struct CurtainHalf {
        QFrame* frame;
        QFrame* inner;
    };

    CurtainHalf make_curtain_half();
    void sync_button(CaptionButton& widget, const PushButton& button);
    void sync_curtain_half(CurtainHalf& half, const Panel& panel);
    void sync_stacking(const std::vector<WidgetId>& order);
    void click(PushButton FormControls::*button, void (Form1::*handler)());

    Form1& form_;
    CaptionButton* pause_;
    CaptionButton* game_over_;
    CurtainHalf top_half_;
    CurtainHalf bottom_half_;
    std::optional<SurfaceSnapshot> painted_;
    std::vector<WidgetId> stacked_;
    std::function<void()> close_handler_;
};

}  // namespace vorbix::qt
