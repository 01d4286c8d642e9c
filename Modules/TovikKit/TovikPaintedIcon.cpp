#include "TovikPaintedIcon.h"

#include <QIconEngine>
#include <QPainter>

#include <algorithm>
#include <cmath>

namespace {

class Engine final : public QIconEngine {
public:
    Engine(QSizeF logicalSize, TovikPaintedIcon::Painter paint)
        : m_logicalSize(logicalSize)
        , m_paint(std::move(paint))
    {
    }

    // Qt asks for the size in device pixels; the ratio is what that size is to the logical one.
    QPixmap pixmap(const QSize &size, QIcon::Mode, QIcon::State) override
    {
        if (size.isEmpty() || m_logicalSize.isEmpty()) {
            return {};
        }
        const qreal ratio = std::min(size.width() / m_logicalSize.width(), size.height() / m_logicalSize.height());
        const QPixmap painted = m_paint(ratio);
        QPixmap pixmap(size);
        pixmap.fill(Qt::transparent);
        QPainter painter(&pixmap);
        // Centred on whole device pixels, one painted pixel to one pixel of the result.
        const QSize paintedPixels = painted.size();
        const QPoint offset((size.width() - paintedPixels.width()) / 2, (size.height() - paintedPixels.height()) / 2);
        painter.drawPixmap(QRect(offset, paintedPixels), painted, painted.rect());
        painter.end();
        return pixmap;
    }

    void paint(QPainter *painter, const QRect &rect, QIcon::Mode mode, QIcon::State state) override
    {
        const qreal ratio = painter->device()->devicePixelRatioF();
        QPixmap shown =
            pixmap(QSize(int(std::lround(rect.width() * ratio)), int(std::lround(rect.height() * ratio))), mode, state);
        shown.setDevicePixelRatio(ratio);
        painter->drawPixmap(rect.topLeft(), shown);
    }

    QSize actualSize(const QSize &size, QIcon::Mode, QIcon::State) override { return size; }
    QIconEngine *clone() const override { return new Engine(m_logicalSize, m_paint); }

private:
    QSizeF m_logicalSize;
    TovikPaintedIcon::Painter m_paint;
};

} // namespace

namespace TovikPaintedIcon {

QIcon make(QSizeF logicalSize, Painter paint)
{
    return QIcon(new Engine(logicalSize, std::move(paint)));
}

} // namespace TovikPaintedIcon
