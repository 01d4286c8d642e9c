#include "TovikSurfaceView.h"

#include <QPainter>
#include <QPainterPath>

TovikSurfaceView::TovikSurfaceView(QWidget *parent)
    : QWidget(parent)
{
    setAttribute(Qt::WA_TransparentForMouseEvents);
}

void TovikSurfaceView::setFillColor(const QColor &color)
{
    m_fillColor = color;
    update();
}

void TovikSurfaceView::setCornerRadius(double radius)
{
    m_cornerRadius = radius;
    update();
}

void TovikSurfaceView::paintEvent(QPaintEvent *)
{
    if (m_fillColor.alpha() == 0) {
        return;
    }
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    QPainterPath shape;
    shape.addRoundedRect(QRectF(rect()), m_cornerRadius, m_cornerRadius);
    painter.fillPath(shape, m_fillColor);
}
