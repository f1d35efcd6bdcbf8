// A push button whose caption wraps at word boundaries when it does not fit on one line, as
// the game's buttons do ("Game Over" stands on two lines at its designed size).
#pragma once

#include <QPushButton>

namespace vorbix::qt {

class CaptionButton : public QPushButton {
public:
    explicit CaptionButton(QWidget* parent);

protected:
    void paintEvent(QPaintEvent* event) override;
};

}  // namespace vorbix::qt
