// The button's face comes from the style; the caption's lines are centred on it.
#include "qt/caption_button.h"

#include <QFontMetricsF>
#include <QStyleOptionButton>
#include <QStylePainter>

#include <algorithm>

namespace vorbix::qt {

CaptionButton::CaptionButton(QWidget* parent) : QPushButton(parent)
{
    // The game window takes every key, whatever was clicked last.
    setFocusPolicy(Qt::NoFocus);
}

void CaptionButton::paintEvent(QPaintEvent* /*event*/)
{
    QStylePainter painter(this);
    QStyleOptionButton option;
    initStyleOption(&option);
    option.text.clear();
    painter.drawControl(QStyle::CE_PushButton, option);

    const QRectF face = style()->subElementRect(QStyle::SE_PushButtonContents, &option, this);
    painter.setFont(font());
    painter.setPen(palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled, QPalette::ButtonText));
    // The lines make a block from the first line's top to the last one's bottom.
    const double height = QFontMetricsF(font()).height();
    const double block = advance_ * static_cast<double>(std::max<std::size_t>(lines_.size(), 1) - 1) + height;
    double top = face.top() + (face.height() - block) / 2;
    for (const std::string& line : lines_) {
        const QRectF place(face.left(), top, face.width(), height);
        painter.drawText(place, Qt::AlignHCenter | Qt::AlignTop | Qt::TextDontClip, QString::fromStdString(line));
        top += advance_;
    }
}

void CaptionButton::show_lines(const std::vector<std::string>& lines, double advance)
{
    if (lines == lines_ && advance == advance_) return;
    lines_ = lines;
    advance_ = advance;
    update();
}

}  // namespace vorbix::qt
