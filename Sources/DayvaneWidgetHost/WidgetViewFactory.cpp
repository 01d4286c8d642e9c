#include "WidgetViewFactory.h"

#include "TovikSymbolImageProvider.h"

#include <TovikWidgetKit/TovikSymbolImageUrl.h>

#include <QQmlComponent>
#include <QQmlEngine>
#include <QQuickItem>
#include <QRegularExpression>

#include <cmath>

namespace WidgetViewFactory {

void prepare(QQmlEngine &engine)
{
    // The plugin carries its modules as resources; Qt 6.4 does not look there by itself.
    engine.addImportPath(QStringLiteral("qrc:/qt/qml"));
    engine.addImageProvider(QLatin1String(TovikSymbolImageUrl::provider), new TovikSymbolImageProvider);
}

QQuickItem *create(QQmlEngine &engine, const WidgetExtension &extension, const WidgetConfiguration &widget,
                   const WidgetEntry &entry, WidgetFamily family, Instant now, QString *error)
{
    const QString viewType = QString::fromStdString(widget.viewType);
    const QString viewModule = QString::fromStdString(widget.viewModule);
    static const QRegularExpression typeName(QStringLiteral("^[A-Z][A-Za-z0-9_]*$"));
    static const QRegularExpression moduleName(QStringLiteral("^[A-Za-z][A-Za-z0-9_]*(\\.[A-Za-z][A-Za-z0-9_]*)*$"));
    if (!typeName.match(viewType).hasMatch() || !moduleName.match(viewModule).hasMatch()) {
        *error = QStringLiteral("小组件 %1 的视图类型无效：%2").arg(QString::fromStdString(widget.kind), viewType);
        return nullptr;
    }
    QQmlComponent component(&engine);
    component.setData(QStringLiteral("import %1\n%2 {}\n").arg(viewModule, viewType).toUtf8(), QUrl());

    // Qt 6.4 crashes when asked to create from a component that failed to load.
    if (!component.isReady()) {
        *error = component.errorString();
        return nullptr;
    }
    QVariantMap properties = extension.viewProperties(entry);
    properties.insert(QStringLiteral("family"), static_cast<int>(family));
    properties.insert(QStringLiteral("contentMargin"), widgetContentMargin);
    properties.insert(QStringLiteral("openURL"), QString::fromStdString(widget.openURL));
    // The views count whole seconds.
    properties.insert(QStringLiteral("now"), std::floor(now));
    // Sized from the start: texts laid out first at another size would load fonts for sizes never shown.
    const QSizeF size = widgetFamilySize(family);
    properties.insert(QStringLiteral("width"), size.width());
    properties.insert(QStringLiteral("height"), size.height());
    QObject *object = component.createWithInitialProperties(properties);
    auto *item = qobject_cast<QQuickItem *>(object);
    if (!item) {
        delete object;
        *error = component.errorString();
        return nullptr;
    }
    return item;
}

} // namespace WidgetViewFactory
