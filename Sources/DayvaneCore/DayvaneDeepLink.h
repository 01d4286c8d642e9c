#pragma once

#include <optional>
#include <string_view>

// The pages a widget can open in the application, and their URL form dayvane://<raw value>.
enum class DayvaneDeepLink { calendar, clock, stopwatch };

namespace DayvaneDeepLinks {

std::string_view rawValue(DayvaneDeepLink link);
std::optional<DayvaneDeepLink> fromRawValue(std::string_view raw);
// The scheme must be exactly "dayvane"; the host is compared without case; nothing else is read.
std::optional<DayvaneDeepLink> fromUrl(std::string_view url);

} // namespace DayvaneDeepLinks
