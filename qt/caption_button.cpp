// The button's face comes from the style; the caption's lines are centred on it.
#include "qt/caption_button.h"

#include <QEvent>
#include <QFontMetricsF>
#include <QPainter>
#include <QStyleOptionButton>
#include <QStylePainter>

#include <algorithm>

namespace vorbix::qt {

CaptionButton::CaptionButton(QWidget* parent) : QPushButton(parent)
{
    // The game window takes every key, whatever was clicked last.
    setFocusPolicy(Qt::NoFocus);
    prepare_timer_.setSingleShot(true);
    // Not at every step of a frame being dragged: once the size has settled.
    prepare_timer_.setInterval(100);
    connect(&prepare_timer_, &QTimer::timeout, this, &CaptionButton::prepare);
}

void CaptionButton::paintEvent(QPaintEvent* /*event*/)
{
    QStyleOptionButton option;
    initStyleOption(&option);
    QPainter(this).drawPixmap(0, 0, face_for(option));
}

QString CaptionButton::face_key(const QStyleOptionButton& option) const
{
    QString key = QStringLiteral("%1x%2@%3|%4|%5|%6|%7|")
                      .arg(width())
                      .arg(height())
                      .arg(devicePixelRatioF())
                      .arg(static_cast<int>(option.state))
                      .arg(option.palette.cacheKey())
                      .arg(font().key())
                      .arg(advance_);
    for (const std::string& line : lines_) key += QString::fromStdString(line) + QLatin1Char('\n');
    return key;
}

const QPixmap& CaptionButton::face_for(const QStyleOptionButton& option)
{
    QString key = face_key(option);
    if (key == face_.key) return face_.picture;
    const double ratio = devicePixelRatioF();
    QPixmap picture(size() * ratio);
    picture.setDevicePixelRatio(ratio);
    picture.fill(Qt::transparent);
    QPainter painter(&picture);
    draw_face(painter, option);
    painter.end();
    face_ = Face{std::move(key), std::move(picture)};
    return face_.picture;
}

void CaptionButton::draw_face(QPainter& painter, const QStyleOptionButton& option) const
{
    QStyleOptionButton face_option = option;
    face_option.text.clear();
    style()->drawControl(QStyle::CE_PushButton, &face_option, &painter, this);

    const QRectF face = style()->subElementRect(QStyle::SE_PushButtonContents, &face_option, this);
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
    prepare_soon();
}

void CaptionButton::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::FontChange) prepare_soon();
    QPushButton::changeEvent(event);
}

void CaptionButton::resizeEvent(QResizeEvent* event)
{
    prepare_soon();
    QPushButton::resizeEvent(event);
}

void CaptionButton::prepare_soon()
{
    if (isHidden()) prepare_timer_.start();
}

void CaptionButton::prepare()
{
    if (!isHidden() || size().isEmpty()) return;
    QStyleOptionButton option;
    initStyleOption(&option);
    face_for(option);
}

}  // namespace vorbix::qt
