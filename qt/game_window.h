// The game window's client area: one widget that paints the labels, the preview box and the
// cell sprites from the window's view, with real Qt children for the push buttons and the
// curtain halves, made for the controls the view lists and named after them. Keys and clicks
// go to the game's port; after each event refresh() brings the children and the picture up
// to date, repainting only what changed. The whole of it can be drawn at a zoom, each edge
// on a device pixel: cells, hatches, texts, buttons and curtain grow together, and the game
// never hears of it.
#pragma once

#include "paint/plan.h"
#include "platform/port.h"

#include <QFrame>
#include <QWidget>

#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace vorbix::qt {

class CaptionButton;

class GameWindow : public QWidget {
public:
    explicit GameWindow(GamePort* game = nullptr);

    // The game whose window this shows and whose events it delivers; nullptr for none.
    void attach(GamePort* game);

    // Follows the view: window size and title, buttons, curtain halves, stacking, and the
    // parts of the surface that changed since the last refresh.
    void refresh();
    // The window was built afresh: everything is painted again at the next refresh.
    void forget_painted();

    // Draws the window this many times its own size; 1 unless told.
    void set_zoom(double zoom);
    double zoom() const { return zoom_; }
    // The window's own size in logical pixels, unzoomed, as the last refresh found it; empty
    // before the first.
    QSize own_size() const;

    // A key pressed in the window: the game's, by its code.
    void press(const QKeyEvent& event);

    // Called instead of closing when the player closes the window.
    void on_close(std::function<void()> handler) { close_handler_ = std::move(handler); }

    // What the window shows; nothing while it shows no game.
    std::optional<WindowView> view() const;

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

    paint::Scale scale() const;
    void sync_frame(const paint::Frame& frame);
    void sync_button(const paint::Widget& button);
    void sync_curtain_half(const paint::Widget& half);
    void sync_stacking(const std::vector<std::string>& order);
    void click(const std::string& button);
    // A rectangle of the window's own logical pixels at the zoom.
    QRect zoomed(int left, int top, int width, int height) const;

    GamePort* game_;
    double zoom_ = 1.0;
    std::map<std::string, CaptionButton*, std::less<>> buttons_;
    std::map<std::string, CurtainHalf, std::less<>> curtain_;
    // What the surface shows, or is about to show once Qt has painted it.
    std::optional<paint::PaintPlan> plan_;
    std::vector<std::string> stacked_;
    std::function<void()> close_handler_;
};

}  // namespace vorbix::qt
