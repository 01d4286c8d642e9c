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

// The two global keys the setting lives under; missing or mistyped values read as glass and 0.
namespace TovikWindowBackgroundStore {

inline constexpr std::string_view modeKey = "tovik.windowBackground.mode";
inline constexpr std::string_view opacityKey = "tovik.windowBackground.opacity";

TovikWindowBackgroundSettings load(const std::shared_ptr<TovikSettingsStore> &store);
void save(const TovikWindowBackgroundSettings &settings, const std::shared_ptr<TovikSettingsStore> &store);

} // namespace TovikWindowBackgroundStore
