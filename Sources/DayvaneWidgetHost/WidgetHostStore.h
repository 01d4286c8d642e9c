#pragma once

#include <TovikWidgetKit/WidgetTimeline.h>

#include <QPoint>

#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

class TovikSettingsStore;

// One widget the user placed on the desktop: what it is, its size, and its top-left in Qt's global
// coordinates.
struct PlacedWidget {
    std::string kind;
    WidgetFamily family = WidgetFamily::systemSmall;
    QPoint position;

    bool operator==(const PlacedWidget &) const = default;
};

// The host's own settings store, $XDG_CONFIG_HOME/dayvane-widget-host/settings.sqlite3, which keeps the
// placed widgets in the order they were added. A damaged file is set aside and a fresh store used, as
// the application's stores do.
class WidgetHostStore final {
public:
    // The key of the placed widgets, one text with a line per widget: "<kind> <family> <x> <y>".
    static constexpr std::string_view widgetsKey = "dayvane.widgetHost.placedWidgets";

    explicit WidgetHostStore(const std::filesystem::path &file = defaultFile());
    WidgetHostStore(const WidgetHostStore &) = delete;
    WidgetHostStore &operator=(const WidgetHostStore &) = delete;

    static std::filesystem::path defaultFile();

    // Nothing when the store could not be opened or holds no list; lines that do not read are left out.
    std::vector<PlacedWidget> load() const;
    void save(const std::vector<PlacedWidget> &widgets);

    // The stored text and back. Kinds are single words; a line that is not four fields with a known
    // family and whole numbers is skipped.
    static std::string encode(const std::vector<PlacedWidget> &widgets);
    static std::vector<PlacedWidget> decode(std::string_view text);
    // "small", "medium", "large".
    static std::string_view familyName(WidgetFamily family);
    static std::optional<WidgetFamily> familyNamed(std::string_view name);

private:
    std::shared_ptr<TovikSettingsStore> m_store;
};
