#include "WidgetExtensionLoader.h"

#include <QDir>
#include <QFileInfo>
#include <QJsonObject>

QString WidgetExtensionLoader::pluginPath(const QString &executableDir)
{
    QString fromEnvironment = qEnvironmentVariable("DAYVANE_WIDGET_PLUGIN");
    if (!fromEnvironment.isEmpty()) {
        return fromEnvironment;
    }
    const QDir here(executableDir);
    // The installed tree's place first, so that an installed host that misses its plugin names that place.
    const QStringList candidates = {
        here.filePath(QStringLiteral(DAYVANE_PLUGIN_DIR_FROM_BINDIR "/libDayvaneWidget.so")),
        here.filePath(QStringLiteral("../../Sources/DayvaneWidget/libDayvaneWidget.so")),
    };
    for (const QString &candidate : candidates) {
        if (QFileInfo::exists(candidate)) {
            return QDir::cleanPath(candidate);
        }
    }
    return QDir::cleanPath(candidates.first());
}

WidgetExtension *WidgetExtensionLoader::load(const QString &path, QString *error)
{
    if (!QFileInfo::exists(path)) {
        *error = QStringLiteral("找不到小组件扩展：%1").arg(path);
        return nullptr;
    }
    m_loader.setFileName(path);
    const QString iid = m_loader.metaData().value(QStringLiteral("IID")).toString();
    if (iid != QLatin1String(WidgetExtension_iid)) {
        *error = QStringLiteral("小组件扩展 %1 与本程序不兼容（接口 %2，需要 %3）")
                     .arg(path, iid.isEmpty() ? QStringLiteral("无") : iid, QLatin1String(WidgetExtension_iid));
        return nullptr;
    }
    auto *extension = qobject_cast<WidgetExtension *>(m_loader.instance());
    if (!extension) {
        *error = QStringLiteral("无法加载小组件扩展 %1：%2").arg(path, m_loader.errorString());
    }
    return extension;
}
