#include "WidgetHostStore.h"

#include <Platform/Settings/TovikSettingsStore.h>

#include <charconv>
#include <sstream>

namespace {

std::vector<std::string_view> split(std::string_view text, char separator)
{
    std::vector<std::string_view> parts;
    std::size_t start = 0;
    while (start <= text.size()) {
        const std::size_t end = std::min(text.find(separator, start), text.size());
        parts.push_back(text.substr(start, end - start));
        start = end + 1;
    }
    return parts;
}

std::optional<int> wholeNumber(std::string_view text)
{
    int value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || error != std::errc() || end != text.data() + text.size()) {
        return std::nullopt;
    }
    return value;
}

} // namespace

WidgetHostStore::WidgetHostStore(const std::filesystem::path &file)
    : m_store(TovikSettingsStore::open(file))
{
}

std::filesystem::path WidgetHostStore::defaultFile()
{
    return TovikSettingsStore::configHome() / "dayvane-widget-host" / "settings.sqlite3";
}

std::vector<PlacedWidget> WidgetHostStore::load() const
{
    if (!m_store) {
        return {};
    }
    return decode(m_store->text(widgetsKey).value_or(std::string()));
}

void WidgetHostStore::save(const std::vector<PlacedWidget> &widgets)
{
    if (m_store) {
        m_store->set(widgetsKey, encode(widgets));
    }
}

std::string WidgetHostStore::encode(const std::vector<PlacedWidget> &widgets)
{
    std::ostringstream text;
    for (const PlacedWidget &widget : widgets) {
        text << widget.kind << ' ' << familyName(widget.family) << ' ' << widget.position.x() << ' '
             << widget.position.y() << '\n';
    }
    return text.str();
}

std::vector<PlacedWidget> WidgetHostStore::decode(std::string_view text)
{
    std::vector<PlacedWidget> widgets;
    for (const std::string_view line : split(text, '\n')) {
        const std::vector<std::string_view> fields = split(line, ' ');
        if (fields.size() != 4 || fields[0].empty()) {
            continue;
        }
        const std::optional<WidgetFamily> family = familyNamed(fields[1]);
        const std::optional<int> x = wholeNumber(fields[2]);
        const std::optional<int> y = wholeNumber(fields[3]);
        if (family && x && y) {
            widgets.push_back({std::string(fields[0]), *family, QPoint(*x, *y)});
        }
    }
    return widgets;
}

std::string_view WidgetHostStore::familyName(WidgetFamily family)
{
    switch (family) {
    case WidgetFamily::systemSmall:
        return "small";
    case WidgetFamily::systemMedium:
        return "medium";
    case WidgetFamily::systemLarge:
        return "large";
    }
    return "small";
}

std::optional<WidgetFamily> WidgetHostStore::familyNamed(std::string_view name)
{
    for (const WidgetFamily family :
         {WidgetFamily::systemSmall, WidgetFamily::systemMedium, WidgetFamily::systemLarge}) {
        if (familyName(family) == name) {
            return family;
        }
    }
    return std::nullopt;
}
