#include "WidgetRenderer.h"

#include "WidgetViewFactory.h"

#include <QCoreApplication>
#include <QPainter>
#include <QQuickItem>
#include <QQuickWindow>

#include <memory>

namespace WidgetRenderer {

QImage render(QQmlEngine &engine, const WidgetExtension &extension, const WidgetConfiguration &widget,
              const WidgetEntry &entry, WidgetFamily family, Instant now, QString *error)
{
    QQuickWindow window;
    window.setColor(Qt::transparent);
    const QSizeF size = widgetFamilySize(family);
    window.resize(size.toSize());
    std::unique_ptr<QQuickItem> view(WidgetViewFactory::create(engine, extension, widget, entry, family, now, error));
    if (!view) {
        return {};
    }
    view->setParentItem(window.contentItem());
    window.show();
    QImage frame = window.grabWindow();
    view.reset();
    if (frame.isNull()) {
        *error = QStringLiteral("无法绘制小组件 %1").arg(QString::fromStdString(widget.kind));
        return {};
    }

    // The corners are cut with an antialiased mask; a clip path would leave them jagged.
    QImage mask(frame.size(), QImage::Format_ARGB32_Premultiplied);
    // The grab comes in device pixels without saying at what ratio.
    frame.setDevicePixelRatio(frame.width() / size.width());
    mask.setDevicePixelRatio(frame.devicePixelRatio());
    mask.fill(Qt::transparent);
    QPainter maskPainter(&mask);
    maskPainter.setRenderHint(QPainter::Antialiasing);
    maskPainter.setPen(Qt::NoPen);
    maskPainter.setBrush(Qt::white);
    maskPainter.drawRoundedRect(QRectF(QPointF(0, 0), size), widgetCornerRadius, widgetCornerRadius);
    maskPainter.end();

    QImage rounded = frame.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    QPainter painter(&rounded);
    painter.setCompositionMode(QPainter::CompositionMode_DestinationIn);
    painter.drawImage(QPointF(0, 0), mask);
    painter.end();
    return rounded;
}

} // namespace WidgetRenderer
