#include "FloatingPanelChromeButton.h"

#include "TovikSymbols.h"

#include <QPainter>
#include <QPainterPath>

FloatingPanelChromeButton::FloatingPanelChromeButton(QWidget *parent)
    : QAbstractButton(parent)
{
    setFocusPolicy(Qt::NoFocus);
    setCursor(Qt::ArrowCursor);
}

void FloatingPanelChromeButton::setSymbol(const QString &name, double pointSize, QFont::Weight weight)
{
    m_symbol = name;
    m_pointSize = pointSize;
    m_weight = weight;
    update();
}

void FloatingPanelChromeButton::setTint(const QColor &tint)
{
    m_tint = tint;
    update();
}

void FloatingPanelChromeButton::setBackground(const QColor &background, double cornerRadius)
{
    m_background = background;
    m_cornerRadius = cornerRadius;
    update();
}

void FloatingPanelChromeButton::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF bounds(rect());
    if (m_background.alpha() > 0) {
        QPainterPath shape;
        shape.addRoundedRect(bounds, m_cornerRadius, m_cornerRadius);
        painter.fillPath(shape, isDown() ? m_background.darker(120) : m_background);
    }
    // The symbol fills a box of its point size, centred.
    const QRectF box(bounds.center() - QPointF(m_pointSize / 2, m_pointSize / 2), QSizeF(m_pointSize, m_pointSize));
    painter.fillPath(TovikSymbols::path(m_symbol, box, m_weight), m_tint);
}
