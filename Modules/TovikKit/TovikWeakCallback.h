#pragma once

#include <QObject>
#include <QPointer>

#include <functional>
#include <utility>

// A callback that holds its owner weakly, as every `on...` callback must: while the owner lives it calls
// `function` with the owner first and the callback's own arguments after; once the owner is gone it does
// nothing. `function` is a member function of the owner or anything taking the owner first.
template <typename Owner, typename Function>
auto tovikWeakCallback(Owner *owner, Function function)
{
    static_assert(std::is_base_of_v<QObject, Owner>, "the owner is watched through QPointer");
    return [guard = QPointer<Owner>(owner), function = std::move(function)](auto &&...arguments) {
        if (guard) {
            std::invoke(function, guard.data(), std::forward<decltype(arguments)>(arguments)...);
        }
    };
}
