#pragma once

#include "WidgetRenderRequest.h"

#include <QString>
#include <QStringList>

#include <optional>

// What the host's command line asks for: the desktop (with its gallery open), one widget drawn to a PNG, the
// help or the version printed, or nothing it knows, with the reason.
struct WidgetHostCommandLine {
    enum class Action { host, showGallery, render, showHelp, showVersion, fail };

    Action action = Action::host;
    // What `--render` asked for.
    std::optional<WidgetRenderRequest> render;
    // What to print for the help, the version, or the reason of a failure.
    QString text;

    // The arguments after the program's name.
    static WidgetHostCommandLine parse(const QStringList &arguments);
};
