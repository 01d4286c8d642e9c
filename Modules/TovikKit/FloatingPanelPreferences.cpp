#include "FloatingPanelPreferences.h"

#include <Platform/Settings/TovikSettingsStore.h>

#include <cstdint>
#include <limits>

namespace {

constexpr double minimumWidth = 72;
constexpr double minimumHeight = 28;
constexpr double maximumDimension = 2400;

using TovikScreenPlacement::Screen;

// A restored panel comes back whole: the screen it returns to may be smaller than the one it was saved on.
// (A live drag keeps only keepVisibleMargin on screen, which a restart would otherwise inherit as a sliver.)
QRectF wholeOn(const QRectF &frame, const Screen &screen)
{
    return TovikScreenPlacement::fitted(frame, screen.visibleFrame, QSizeF(minimumWidth, minimumHeight));
}

} // namespace

FloatingPanelPreferences::FloatingPanelPreferences(std::string keyPrefix, std::shared_ptr<TovikSettingsStore> defaults)
    : m_keyPrefix(std::move(keyPrefix))
    , m_defaults(std::move(defaults))
{
}

std::string FloatingPanelPreferences::key(std::string_view suffix) const
{
    std::string result = m_keyPrefix;
    result += '.';
    result += suffix;
    return result;
}

std::optional<QRectF> FloatingPanelPreferences::loadFrame() const
{
    return loadFrame(TovikScreenPlacement::screens());
}

std::optional<QRectF> FloatingPanelPreferences::loadFrame(const std::vector<Screen> &screens) const
{
    if (!m_defaults) {
        return std::nullopt;
    }
    const auto number = [this](std::string_view suffix) { return m_defaults->number(key(suffix)); };
    const double x = number("frameX").value_or(0);
    const double y = number("frameY").value_or(0);
    const double w = number("width").value_or(0);
    const double h = number("height").value_or(0);
    if (!(w >= minimumWidth && w <= maximumDimension && h >= minimumHeight && h <= maximumDimension)) {
        return std::nullopt;
    }
    const QRectF stored(x, y, w, h);
    if (screens.empty()) {
        return stored;
    }
    const std::optional<std::int64_t> screenID = m_defaults->integer(key("screenID"));
    const std::optional<double> relativeX = number("screenRelativeX");
    const std::optional<double> relativeY = number("screenRelativeY");
    if (screenID && relativeX && relativeY && *screenID >= 0
        && *screenID <= std::numeric_limits<std::uint32_t>::max()) {
        for (const Screen &screen : screens) {
            if (screen.displayNumber == static_cast<std::uint32_t>(*screenID)) {
                const QRectF placed(screen.frame.x() + *relativeX, screen.frame.y() + *relativeY, w, h);
                return wholeOn(placed, screen);
            }
        }
    }
    return wholeOn(stored, *TovikScreenPlacement::owningScreen(stored, screens));
}

void FloatingPanelPreferences::save(const QRectF &frame) const
{
    save(frame, TovikScreenPlacement::screens());
}

void FloatingPanelPreferences::save(const QRectF &frame, const std::vector<Screen> &screens) const
{
    if (!m_defaults) {
        return;
    }
    m_defaults->transaction([&](TovikSettingsStore &store) {
        store.set(key("frameX"), frame.x());
        store.set(key("frameY"), frame.y());
        store.set(key("width"), frame.width());
        store.set(key("height"), frame.height());
        const std::optional<Screen> screen = TovikScreenPlacement::owningScreen(frame, screens);
        if (!screen || !screen->displayNumber) {
            return;
        }
        store.set(key("screenID"), static_cast<std::int64_t>(*screen->displayNumber));
        store.set(key("screenRelativeX"), frame.x() - screen->frame.x());
        store.set(key("screenRelativeY"), frame.y() - screen->frame.y());
    });
}

bool FloatingPanelPreferences::loadPinned() const
{
    return loadBool("pinned", true);
}

void FloatingPanelPreferences::savePinned(bool pinned) const
{
    saveBool("pinned", pinned);
}

bool FloatingPanelPreferences::loadTextOnly() const
{
    return loadBool("textOnly", false);
}

void FloatingPanelPreferences::saveTextOnly(bool textOnly) const
{
    saveBool("textOnly", textOnly);
}

bool FloatingPanelPreferences::loadRestoresVisibility() const
{
    return loadBool("restoreVisible", false);
}

void FloatingPanelPreferences::saveRestoresVisibility(bool restores) const
{
    saveBool("restoreVisible", restores);
}

bool FloatingPanelPreferences::loadBool(std::string_view suffix, bool fallback) const
{
    return m_defaults ? m_defaults->boolean(key(suffix)).value_or(fallback) : fallback;
}

void FloatingPanelPreferences::saveBool(std::string_view suffix, bool value) const
{
    if (m_defaults) {
        m_defaults->set(key(suffix), value);
    }
}
