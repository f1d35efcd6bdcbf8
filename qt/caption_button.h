// A push button that shows its caption in the lines the paint plan broke it into, as the
// game's buttons do ("Game Over" stands on two lines at its designed size).
#pragma once

#include <QPushButton>

#include <string>
#include <vector>

namespace vorbix::qt {

class CaptionButton : public QPushButton {
public:
    explicit CaptionButton(QWidget* parent);

    // The caption's lines, and from one line's top to the next in logical pixels.
    void show_lines(const std::vector<std::string>& lines, double advance);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    std::vector<std::string> lines_;
    double advance_ = 0.0;
};

}  // namespace vorbix::qt
