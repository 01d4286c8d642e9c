#pragma once

#include <QSizeF>
#include <QString>

#include <memory>
#include <string>

class TovikSettingsStore;

// What a caller fills in to describe one floating panel; every field is given, none has a default.
struct FloatingPanelConfiguration {
    // Set on the window; not displayed.
    QString title;
    // Prefix of every settings key of this panel.
    std::string preferencesKeyPrefix;
    // Content size before any restored frame, in points.
    QSizeF initialSize;
    // Smallest frame, also the floor of the bottom-right resize.
    QSizeF minimumSize;
    // Rounding of the panel's surface, backing and hover border.
    double cornerRadius;
    // True: the toolkit's own close and open-in-main-window buttons; false: a close button where a titled
    // window has its own.
    bool usesOverlayControls;
    QString openInMainWindowToolTip;
    // Where the panel keeps its frame, pin and text-only look.
    std::shared_ptr<TovikSettingsStore> store;
};
