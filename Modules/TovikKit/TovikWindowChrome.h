#pragma once

#include "WindowBackground.h"

#include <QColor>
#include <QObject>

#include <functional>
#include <memory>
#include <string_view>

class QWidget;
class TovikSettingsStore;
class TovikSurfaceView;

// Tells every live window of the process that the background setting or the desktop's transparency
// preference changed; the notification of the setting keeps its name as TovikWindowChrome::didChange.
class TovikWindowChromeNotifier final : public QObject {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TovikWindowChromeNotifier)
public:
    TovikWindowChromeNotifier() = default;

signals:
    void windowBackgroundDidChange();
    void accessibilityDisplayOptionsDidChange();
};

// The shared window-background appearance: the setting as its store keeps it, its change notification,
// the backing colour and the desktop's reduce-transparency preference.
namespace TovikWindowChrome {

inline constexpr std::string_view didChange = "local.tovik.status.windowBackgroundDidChange";

TovikWindowChromeNotifier *notifier();

// Near-black, opaque: white 0.115.
QColor backingColor();

TovikWindowBackgroundSettings settings(const std::shared_ptr<TovikSettingsStore> &store);
// Saves to `store`, then posts didChange.
void setSettings(const TovikWindowBackgroundSettings &settings, const std::shared_ptr<TovikSettingsStore> &store);

// Off unless the desktop asks for high contrast.
bool reduceTransparency();
// Followed from the desktop; a change reaches every backing view.
void setReduceTransparency(bool reduce);

// A new dark translucent surface with rounded corners, standing in for the platform's glass; with
// `darkAppearance` its palette is the dark one whatever the desktop's theme.
TovikSurfaceView *makeGlass(double cornerRadius, bool darkAppearance);

} // namespace TovikWindowChrome
