#include "TovikHostTimeZone.h"

#include <unicode/timezone.h>

#include <climits>
#include <cstdlib>
#include <string>
#include <string_view>
#include <unistd.h>

namespace TovikHostTimeZone {

std::unique_ptr<icu::TimeZone> detect(const char *localtimePath)
{
    const char *tz = std::getenv("TZ");
    if (tz == nullptr || *tz == '\0') {
        char target[PATH_MAX];
        const ssize_t length = readlink(localtimePath, target, sizeof target);
        if (length > 0) {
            const std::string_view link(target, static_cast<std::size_t>(length));
            constexpr std::string_view marker = "zoneinfo/";
            const std::size_t at = link.rfind(marker);
            if (at != std::string_view::npos) {
                // The clock asks every second; the zone is looked up again only when the link changes.
                thread_local std::string lastId;
                thread_local std::unique_ptr<icu::TimeZone> lastZone;
                const std::string_view id = link.substr(at + marker.size());
                if (!lastZone || id != lastId) {
                    lastId = id;
                    lastZone.reset(icu::TimeZone::createTimeZone(
                        icu::UnicodeString::fromUTF8(icu::StringPiece(id.data(), static_cast<int32_t>(id.size())))));
                }
                if (lastZone && *lastZone != icu::TimeZone::getUnknown()) {
                    return std::unique_ptr<icu::TimeZone>(lastZone->clone());
                }
            }
        }
    }
    return std::unique_ptr<icu::TimeZone>(icu::TimeZone::detectHostTimeZone());
}

} // namespace TovikHostTimeZone
