#include "StopwatchControlButton.h"

#include <TovikKit/TovikColors.h>
#include <TovikKit/TovikFonts.h>
#include <TovikKit/TovikGeometry.h>
#include <TovikKit/TovikSymbols.h>

#include <QMouseEvent>
#include <QPainter>

#include <cmath>

StopwatchControlButton::Frames StopwatchControlButton::layout(const QRectF &b)
{
    return {QRectF(b.center().x() - diameter / 2, b.bottom() - diameter, diameter, diameter),
            QRectF(0, 0, b.width(), 14)};
}

StopwatchControlButton::StopwatchControlButton(const QColor &fill, const QString &symbol, const QString &title,
                                               QWidget *parent)
    : QWidget(parent)
    , m_fill(fill)
{
    // A press on the button, enabled or not, never reaches the view behind it.
    setAttribute(Qt::WA_NoMousePropagation);
    setSymbol(symbol, title);
}

void StopwatchControlButton::setSymbol(const QString &symbol, const QString &title)
{
    if (symbol == m_symbol && title == m_title) {
        return;
    }
    if (symbol != m_symbol) {
        m_icon = QPixmap();
    }
    m_symbol = symbol;
    m_title = title;
    setToolTip(title);
    setAccessibleName(title);
    update();
}

void StopwatchControlButton::mousePressEvent(QMouseEvent *event)
{
    pressed(event);
}

void StopwatchControlButton::mouseDoubleClickEvent(QMouseEvent *event)
{
    // The second press of a quick pair is a press like any other.
    pressed(event);
}

void StopwatchControlButton::mouseReleaseEvent(QMouseEvent *event)
{
    event->accept();
}

void StopwatchControlButton::pressed(QMouseEvent *event)
{
    event->accept();
    if (event->button() == Qt::LeftButton) {
        press();
    }
}

void StopwatchControlButton::press()
{
    if (isEnabled() && onPress) {
        onPress();
    }
}

void StopwatchControlButton::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::EnabledChange) {
        update();
    }
    QWidget::changeEvent(event);
}

const QPixmap &StopwatchControlButton::icon()
{
    if (m_icon.isNull() || m_icon.devicePixelRatio() != devicePixelRatioF()) {
        m_icon = TovikSymbols::pixmap(m_symbol, 12, QFont::Bold, Qt::white, devicePixelRatioF());
    }
    return m_icon;
}

void StopwatchControlButton::paintEvent(QPaintEvent *)
{
    const QRectF bounds = rect();
    const Frames frames = layout(bounds);
    const QRectF circle = TovikGeometry::toQt(frames.circle, bounds.height());
    const QRectF title = TovikGeometry::toQt(frames.title, bounds.height());

    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setOpacity(isEnabled() ? 1.0 : 0.4);
    painter.setPen(Qt::NoPen);
    painter.setBrush(m_fill);
    painter.drawEllipse(circle);

    const QPixmap &symbol = icon();
    if (!symbol.isNull()) {
        // Whole device pixels keep the symbol's edges sharp.
        const qreal ratio = symbol.devicePixelRatio();
        const QSizeF size = symbol.deviceIndependentSize();
        const QPointF origin(std::round((circle.center().x() - size.width() / 2) * ratio) / ratio,
                             std::round((circle.center().y() - size.height() / 2) * ratio) / ratio);
        painter.drawPixmap(origin, symbol);
    }

    painter.setFont(TovikFonts::systemFont(10));
    painter.setPen(TovikColors::white(0.7));
    painter.drawText(title, Qt::AlignCenter, m_title);
}
