// The button's face comes from the style; only the caption is laid out here.
#include "qt/caption_button.h"

#include <QStyleOptionButton>
#include <QStylePainter>

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

    const QRect face = style()->subElementRect(QStyle::SE_PushButtonContents, &option, this);
    painter.setFont(font());
    painter.setPen(palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled, QPalette::ButtonText));
    painter.drawText(face, Qt::AlignCenter | Qt::TextWordWrap, text());
}

}  // namespace vorbix::qt
