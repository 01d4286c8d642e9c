#include "FloatingPanelHoverBorderView.h"

#include "TovikColors.h"

#include <QPainter>

#include <algorithm>

namespace {

constexpr double inset = 1.5;

} // namespace

FloatingPanelHoverBorderView::FloatingPanelHoverBorderView(QWidget *parent)
    : QWidget(parent)
{
    setAttribute(Qt::WA_TransparentForMouseEvents);
}

void FloatingPanelHoverBorderView::setCornerRadius(double radius)
{
    m_cornerRadius = radius;
    update();
}

QRectF FloatingPanelHoverBorderView::borderRect(const QSizeF &bounds)
{
    return QRectF(QPointF(0, 0), bounds).adjusted(inset, inset, -inset, -inset);
}

double FloatingPanelHoverBorderView::borderRadius(double cornerRadius)
{
    return std::max(cornerRadius - inset, 0.0);
}

void FloatingPanelHoverBorderView::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(TovikColors::white(0.42), 1));
    painter.setBrush(Qt::NoBrush);
    const double radius = borderRadius(m_cornerRadius);
    painter.drawRoundedRect(borderRect(size()), radius, radius);
}
