// A push button that shows its caption in the lines the paint plan broke it into, as the
// game's buttons do ("Game Over" stands on two lines at its designed size).
#pragma once

#include <QPixmap>
#include <QPushButton>
#include <QTimer>

#include <string>
#include <vector>

class QStyleOptionButton;

namespace vorbix::qt {

class CaptionButton : public QPushButton {
public:
    explicit CaptionButton(QWidget* parent);

    // The caption's lines, and from one line's top to the next in logical pixels.
    void show_lines(const std::vector<std::string>& lines, double advance);

protected:
    void paintEvent(QPaintEvent* event) override;
    void changeEvent(QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    // The face as it looks in a state, drawn once and shown from then on: a large caption is
    // filled from its glyphs' outlines at every paint (Qt caches glyphs only up to 64 pixels),
    // which at a high zoom made showing "Pause" take milliseconds.
    struct Face {
        QString key;
        QPixmap picture;
    };
    QString face_key(const QStyleOptionButton& option) const;
    const QPixmap& face_for(const QStyleOptionButton& option);
    void draw_face(QPainter& painter, const QStyleOptionButton& option) const;
    // A hidden button draws its face ahead, so that it shows at once when the game shows it.
    void prepare_soon();
    void prepare();

    std::vector<std::string> lines_;
    double advance_ = 0.0;
    Face face_;
    QTimer prepare_timer_;
};

}  // namespace vorbix::qt
