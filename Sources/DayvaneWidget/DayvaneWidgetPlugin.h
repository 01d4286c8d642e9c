#pragma once

#include <TovikWidgetKit/WidgetExtension.h>

#include <QObject>

// The extension's entry, loaded by the widget host: publishes the bundle's widgets on the shared stopwatch,
// and registers their views' QML modules in the host's process as it is loaded.
class DayvaneWidgetPlugin final : public QObject, public WidgetExtension {
    Q_OBJECT
    Q_PLUGIN_METADATA(IID WidgetExtension_iid)
    Q_INTERFACES(WidgetExtension)
    Q_DISABLE_COPY_MOVE(DayvaneWidgetPlugin)

public:
    DayvaneWidgetPlugin() = default;

    std::vector<WidgetConfiguration> widgets() const override;
    QVariantMap viewProperties(const WidgetEntry &entry) const override;
    void setReloadHandler(std::function<void(const std::string &kind)> handler) override;
};
