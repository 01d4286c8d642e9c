#pragma once

#include <TovikWidgetKit/WidgetExtension.h>

#include <QPluginLoader>
#include <QString>

// Finds and loads the widget extension plugin: $DAYVANE_WIDGET_PLUGIN when set, else beside the host in
// the build tree or the installed tree. The plugin stays loaded for the loader's life.
class WidgetExtensionLoader final {
public:
    WidgetExtensionLoader() = default;
    Q_DISABLE_COPY_MOVE(WidgetExtensionLoader)

    // The plugin file the host uses: the environment's, else the first candidate that exists, else the
    // first candidate (so the message names where it was looked for).
    static QString pluginPath(const QString &executableDir);

    // The extension, or null with a message naming the file in `error`.
    WidgetExtension *load(const QString &path, QString *error);

private:
    QPluginLoader m_loader;
};
