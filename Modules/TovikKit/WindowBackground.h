#pragma once

#include <memory>
#include <optional>
#include <string_view>

class TovikSettingsStore;

// How much of the dark backing a window shows under its content, and whether the result is opaque.
struct TovikWindowBackgroundAppearance {
    double backingAlpha = 0;
    bool isOpaque = false;

    bool operator==(const TovikWindowBackgroundAppearance &) const = default;
};

// The user's window-background choice: keep the glass look, with an optional partial backing, or paint an
// opaque backing. The opacity is always within 0...1.
class TovikWindowBackgroundSettings {
public:
    enum class Mode { glass, opaque };

    TovikWindowBackgroundSettings(Mode mode, double backingOpacity);

    static TovikWindowBackgroundSettings defaultSettings() { return {Mode::glass, 0}; }
    // Not finite reads as 0; otherwise limited to 0...1.
    static double clamp(double value);

    static std::string_view rawValue(Mode mode);
    // Exactly "glass" or "opaque"; anything else is no mode.
    static std::optional<Mode> modeFromRawValue(std::string_view raw);

    Mode mode() const { return m_mode; }
    double backingOpacity() const { return m_backingOpacity; }

    // Text-only wins over reduce-transparency (no backing at all), which wins over the user's choice.
    TovikWindowBackgroundAppearance resolve(bool reduceTransparency, bool textOnly) const;

    bool operator==(const TovikWindowBackgroundSettings &) const = default;

private:
    Mode m_mode;
    double m_backingOpacity;
};

// The dark surface a window's content stands on: a glass layer under the backing. Where a compositor runs the
// glass lets the desktop show through, and the backing's opacity (the strength the user chose) closes it up
// towards opaque; without a compositor nothing can show through, so the glass is opaque.
namespace TovikGlassSurface {

// The glass alone where a compositor runs: the least cover under which the large light digits (white at 0.78)
// keep a contrast of 3:1 over a white desktop.
inline constexpr double translucentGlass = 0.6;

// The opacity of the glass layer: none in the text-only look (which wins only where a compositor runs).
double glassOpacity(bool compositing, bool textOnly);
// The opacity of the whole surface: the backing drawn over the glass.
double surfaceOpacity(double glassOpacity, double backingAlpha);

} // namespace TovikGlassSurface

// The two global keys the setting lives under; missing or mistyped values read as glass and 0.
namespace TovikWindowBackgroundStore {

inline constexpr std::string_view modeKey = "tovik.windowBackground.mode";
inline constexpr std::string_view opacityKey = "tovik.windowBackground.opacity";

TovikWindowBackgroundSettings load(const std::shared_ptr<TovikSettingsStore> &store);
void save(const TovikWindowBackgroundSettings &settings, const std::shared_ptr<TovikSettingsStore> &store);

} // namespace TovikWindowBackgroundStore
