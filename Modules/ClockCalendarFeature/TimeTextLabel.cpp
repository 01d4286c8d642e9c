#include "TimeTextLabel.h"

#include "TimeFontFitting.h"

#include <QEvent>
#include <QPainter>

TimeTextLabel::TimeTextLabel(const QString &text, QWidget *parent)
    : QWidget(parent)
    , m_text(text)
    , m_shownFont(font())
{
}

void TimeTextLabel::setText(const QString &text)
{
    if (text == m_text) {
        return;
    }
    // Tabular digits: only a change of length can change whether the text fits.
    if (text.size() != m_text.size()) {
        m_text = text;
        fitText();
        return;
    }
    m_glyphs.setStyle(m_shownFont, palette().color(QPalette::WindowText), devicePixelRatioF());
    const QRectF changed = m_glyphs.changedArea(rect(), m_text, text);
    m_text = text;
    update(changed.toAlignedRect());
}

void TimeTextLabel::changeEvent(QEvent *event)
{
    QWidget::changeEvent(event);
    if (event->type() == QEvent::FontChange) {
        fitText();
    }
}

void TimeTextLabel::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    fitText();
}

void TimeTextLabel::fitText()
{
    m_shownFont = TimeFontFitting::fontForText(font(), m_text, width());
    update();
}

void TimeTextLabel::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    m_glyphs.setStyle(m_shownFont, palette().color(QPalette::WindowText), devicePixelRatioF());
    m_glyphs.draw(painter, rect(), m_text);
}
