// Any text given as a URL: the parser never crashes, and what it accepts is a dayvane:// URL whose page
// round-trips through its raw value and its canonical URL.
#include <DayvaneCore/DayvaneDeepLink.h>

#include <cstdint>
#include <cstdlib>
#include <string>

using namespace DayvaneDeepLinks;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const std::string_view url(reinterpret_cast<const char *>(data), size);
    if (const std::optional<DayvaneDeepLink> link = fromUrl(url)) {
        if (!url.starts_with("dayvane://") || fromRawValue(rawValue(*link)) != link
            || fromUrl("dayvane://" + std::string(rawValue(*link))) != link) {
            std::abort();
        }
        // The scheme is compared exactly: the same URL with a capitalised scheme names no page.
        if (fromUrl("Dayvane" + std::string(url.substr(7))) != std::nullopt) {
            std::abort();
        }
    }
    if (const std::optional<DayvaneDeepLink> exact = fromRawValue(url); exact && rawValue(*exact) != url) {
        std::abort();
    }
    return 0;
}
