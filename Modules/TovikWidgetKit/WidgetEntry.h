#pragma once

#include <any>
#include <utility>

// One entry of a widget's timeline as the host holds it: the extension's own value, which the host keeps and
// hands back to the extension to be drawn without ever looking inside. Only the extension that made it reads it.
class WidgetEntry {
public:
    WidgetEntry() = default;
    template <typename Value>
    explicit WidgetEntry(Value value)
        : m_value(std::move(value))
    {
    }

    // The value, when it is a `Value`; none otherwise.
    template <typename Value>
    const Value *as() const
    {
        return std::any_cast<Value>(&m_value);
    }

private:
    std::any m_value;
};
