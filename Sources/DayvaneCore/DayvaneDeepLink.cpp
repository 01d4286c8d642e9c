#include "DayvaneDeepLink.h"

#include <array>
#include <string>

namespace {

constexpr std::array<std::pair<DayvaneDeepLink, std::string_view>, 3> rawValues{{
    {DayvaneDeepLink::calendar, "calendar"},
    {DayvaneDeepLink::clock, "clock"},
    {DayvaneDeepLink::stopwatch, "stopwatch"},
}};

constexpr std::string_view scheme = "dayvane";

bool isAsciiLetter(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

bool isAsciiDigit(char c)
{
    return c >= '0' && c <= '9';
}

// The URL's scheme: a letter, then letters, digits, "+", "-" or ".", up to the first ":".
std::optional<std::string_view> schemeOf(std::string_view url)
{
    const std::size_t colon = url.find(':');
    if (colon == std::string_view::npos || colon == 0 || !isAsciiLetter(url[0])) {
        return std::nullopt;
    }
    for (char c : url.substr(1, colon - 1)) {
        if (!isAsciiLetter(c) && !isAsciiDigit(c) && c != '+' && c != '-' && c != '.') {
            return std::nullopt;
        }
    }
    return url.substr(0, colon);
}

// The host of "//authority" after the scheme: the authority without "user@" and without ":port".
std::optional<std::string_view> hostOf(std::string_view afterScheme)
{
    if (!afterScheme.starts_with("//")) {
        return std::nullopt;
    }
    std::string_view authority = afterScheme.substr(2);
    authority = authority.substr(0, authority.find_first_of("/?#"));
    if (const std::size_t at = authority.rfind('@'); at != std::string_view::npos) {
        authority = authority.substr(at + 1);
    }
    // An IP literal keeps its colons; the port is what follows the last colon after it.
    const std::size_t literalEnd = authority.starts_with('[') ? authority.find(']') : 0;
    if (literalEnd == std::string_view::npos) {
        return std::nullopt;
    }
    if (const std::size_t colon = authority.rfind(':'); colon != std::string_view::npos && colon > literalEnd) {
        for (char c : authority.substr(colon + 1)) {
            if (!isAsciiDigit(c)) {
                return std::nullopt;
            }
        }
        authority = authority.substr(0, colon);
    }
    return authority;
}

} // namespace

namespace DayvaneDeepLinks {

std::string_view rawValue(DayvaneDeepLink link)
{
    for (const auto &[candidate, raw] : rawValues) {
        if (candidate == link) {
            return raw;
        }
    }
    return {};
}

std::optional<DayvaneDeepLink> fromRawValue(std::string_view raw)
{
    for (const auto &[link, candidate] : rawValues) {
        if (candidate == raw) {
            return link;
        }
    }
    return std::nullopt;
}

std::optional<DayvaneDeepLink> fromUrl(std::string_view url)
{
    const std::optional<std::string_view> urlScheme = schemeOf(url);
    if (!urlScheme || *urlScheme != scheme) {
        return std::nullopt;
    }
    const std::optional<std::string_view> host = hostOf(url.substr(urlScheme->size() + 1));
    if (!host) {
        return std::nullopt;
    }
    std::string lowered(*host);
    for (char &c : lowered) {
        if (c >= 'A' && c <= 'Z') {
            c = static_cast<char>(c - 'A' + 'a');
        }
    }
    return fromRawValue(lowered);
}

} // namespace DayvaneDeepLinks
