#pragma once

#include "WidgetConfiguration.h"

#include <QVariantMap>
#include <QtPlugin>

#include <functional>
#include <string>
#include <vector>

// What a widget extension plugin offers the widget host: its widgets, and a way to receive the reload
// requests made inside it (the plugin links its own copy of the widget centre, which the host's in-process
// handler does not reach). The interface id carries a version that changes with any change here.
class WidgetExtension {
public:
    virtual ~WidgetExtension() = default;

    virtual std::vector<WidgetConfiguration> widgets() const = 0;
    // The required properties of the view (the configuration's viewType from its viewModule, which the
    // plugin registers) that come from `entry`, one this extension made.
    virtual QVariantMap viewProperties(const WidgetEntry &entry) const = 0;
    // An empty handler sends the requests to the host's socket again.
    virtual void setReloadHandler(std::function<void(const std::string &kind)> handler) = 0;
};

#define WidgetExtension_iid "local.tovik.dayvane.WidgetExtension/3"
Q_DECLARE_INTERFACE(WidgetExtension, WidgetExtension_iid)
