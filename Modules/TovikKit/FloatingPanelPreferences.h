#pragma once

#include "TovikScreenPlacement.h"

#include <QRectF>

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

class TovikSettingsStore;

// The persisted state of one floating panel: its frame in the global y-up space together with the display
// it was on and its place on that display, its pin and text-only looks. Every key is the panel's prefix, a
// dot and a fixed suffix. Without a store, loads give the defaults and saves do nothing.
class FloatingPanelPreferences {
public:
    FloatingPanelPreferences(std::string keyPrefix, std::shared_ptr<TovikSettingsStore> defaults);

    const std::string &keyPrefix() const { return m_keyPrefix; }
    std::string key(std::string_view suffix) const;

    // The saved frame placed on the screens attached now: on the display it was saved on if that one is
    // still there, else on the screen owning it, and wholly inside that screen's visible frame (shrunk to it
    // first when larger). None when no usable size was saved.
    std::optional<QRectF> loadFrame() const;
    std::optional<QRectF> loadFrame(const std::vector<TovikScreenPlacement::Screen> &screens) const;
    void save(const QRectF &frame) const;
    void save(const QRectF &frame, const std::vector<TovikScreenPlacement::Screen> &screens) const;

    // Absent means pinned.
    bool loadPinned() const;
    void savePinned(bool pinned) const;
    // Absent means the normal look.
    bool loadTextOnly() const;
    void saveTextOnly(bool textOnly) const;
    bool loadRestoresVisibility() const;
    void saveRestoresVisibility(bool restores) const;

private:
    bool loadBool(std::string_view suffix, bool fallback) const;
    void saveBool(std::string_view suffix, bool value) const;

    std::string m_keyPrefix;
    std::shared_ptr<TovikSettingsStore> m_defaults;
};
