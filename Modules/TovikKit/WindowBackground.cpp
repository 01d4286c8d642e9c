#include "WindowBackground.h"

#include <Platform/Settings/TovikSettingsStore.h>

#include <algorithm>
#include <cmath>

TovikWindowBackgroundSettings::TovikWindowBackgroundSettings(Mode mode, double backingOpacity)
    : m_mode(mode)
    , m_backingOpacity(clamp(backingOpacity))
{
}

double TovikWindowBackgroundSettings::clamp(double value)
{
    return std::isfinite(value) ? std::clamp(value, 0.0, 1.0) : 0.0;
}

std::string_view TovikWindowBackgroundSettings::rawValue(Mode mode)
{
    return mode == Mode::opaque ? "opaque" : "glass";
}

std::optional<TovikWindowBackgroundSettings::Mode> TovikWindowBackgroundSettings::modeFromRawValue(std::string_view raw)
{
    if (raw == "glass") {
        return Mode::glass;
    }
    if (raw == "opaque") {
        return Mode::opaque;
    }
    return std::nullopt;
}

TovikWindowBackgroundAppearance TovikWindowBackgroundSettings::resolve(bool reduceTransparency, bool textOnly) const
{
    if (reduceTransparency || textOnly) {
        return {textOnly ? 0.0 : 1.0, !textOnly};
    }
    if (m_mode == Mode::opaque) {
        return {1, true};
    }
    const double alpha = clamp(m_backingOpacity);
    return {alpha, alpha >= 0.999};
}

namespace TovikGlassSurface {

double glassOpacity(bool compositing, bool textOnly)
{
    if (!compositing) {
        return 1;
    }
    return textOnly ? 0 : translucentGlass;
}

double surfaceOpacity(double glassOpacity, double backingAlpha)
{
    return 1 - (1 - glassOpacity) * (1 - backingAlpha);
}

} // namespace TovikGlassSurface

namespace TovikWindowBackgroundStore {

TovikWindowBackgroundSettings load(const std::shared_ptr<TovikSettingsStore> &store)
{
    if (!store) {
        return TovikWindowBackgroundSettings::defaultSettings();
    }
    const std::optional<std::string> raw = store->text(modeKey);
    const auto mode =
        raw && TovikWindowBackgroundSettings::modeFromRawValue(*raw) == TovikWindowBackgroundSettings::Mode::opaque
            ? TovikWindowBackgroundSettings::Mode::opaque
            : TovikWindowBackgroundSettings::Mode::glass;
    return {mode, store->number(opacityKey).value_or(0)};
}

void save(const TovikWindowBackgroundSettings &settings, const std::shared_ptr<TovikSettingsStore> &store)
{
    if (!store) {
        return;
    }
    store->transaction([&settings](TovikSettingsStore &writer) {
        writer.set(modeKey, TovikWindowBackgroundSettings::rawValue(settings.mode()));
        writer.set(opacityKey, settings.backingOpacity());
    });
}

} // namespace TovikWindowBackgroundStore
