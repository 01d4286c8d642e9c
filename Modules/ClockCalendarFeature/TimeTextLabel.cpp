#include "TimeTextLabel.h"

#include <QPainter>

TimeTextLabel::TimeTextLabel(const QString &text, QWidget *parent)
    : QWidget(parent)
    , m_text(text)
{
}

void TimeTextLabel::setText(const QString &text)
{
    if (text == m_text) {
        return;
    }
    m_glyphs.setStyle(font(), palette().color(QPalette::WindowText), devicePixelRatioF());
    const QRectF changed = m_glyphs.changedArea(rect(), m_text, text);
    m_text = text;
    update(changed.toAlignedRect());
}

void TimeTextLabel::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    m_glyphs.setStyle(font(), palette().color(QPalette::WindowText), devicePixelRatioF());
    m_glyphs.draw(painter, rect(), m_text);
}
