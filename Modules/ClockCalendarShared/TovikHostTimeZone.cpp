#include "TovikHostTimeZone.h"

#include <unicode/timezone.h>

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>
#include <string_view>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace TovikHostTimeZone {
namespace {

std::unique_ptr<icu::TimeZone> zoneNamed(std::string_view id)
{
    std::unique_ptr<icu::TimeZone> zone(icu::TimeZone::createTimeZone(
        icu::UnicodeString::fromUTF8(icu::StringPiece(id.data(), static_cast<int32_t>(id.size())))));
    if (!zone || *zone == icu::TimeZone::getUnknown()) {
        return nullptr;
    }
    return zone;
}

// The zone a link points to: the part of its target after "zoneinfo/", or none.
std::optional<std::string> linkedZoneId(const char *path)
{
    char target[PATH_MAX];
    const ssize_t length = readlink(path, target, sizeof target);
    if (length <= 0) {
        return std::nullopt;
    }
    const std::string_view link(target, static_cast<std::size_t>(length));
    constexpr std::string_view marker = "zoneinfo/";
    const std::size_t at = link.rfind(marker);
    if (at == std::string_view::npos) {
        return std::nullopt;
    }
    return std::string(link.substr(at + marker.size()));
}

std::optional<std::string> contentsOf(const std::filesystem::path &path)
{
    std::ifstream file(path, std::ios::binary);
    if (!file) {
        return std::nullopt;
    }
    return std::string(std::istreambuf_iterator<char>(file), {});
}

// The zone database entry with the same bytes as a copied zone file. Several names share one file
// (Asia/Shanghai, Asia/Chongqing, PRC): ICU's canonical name is preferred, then the first in order.
std::unique_ptr<icu::TimeZone> zoneWithContents(const std::string &contents, const char *zoneinfoPath)
{
    namespace fs = std::filesystem;
    std::vector<std::string> ids;
    std::error_code error;
    for (fs::recursive_directory_iterator it(zoneinfoPath, error), end; !error && it != end; it.increment(error)) {
        const fs::path relative = it->path().lexically_relative(zoneinfoPath);
        const std::string first = relative.begin()->string();
        // posix/ and right/ repeat the database; files without a capital first letter are not zones.
        if (it->is_directory(error) && (first == "posix" || first == "right")) {
            it.disable_recursion_pending();
            continue;
        }
        if (!it->is_regular_file(error) || it->file_size(error) != contents.size() || first.empty() || first[0] < 'A'
            || first[0] > 'Z') {
            continue;
        }
        if (contentsOf(it->path()) == contents) {
            ids.push_back(relative.string());
        }
    }
    std::sort(ids.begin(), ids.end());
    std::unique_ptr<icu::TimeZone> fallback;
    for (const std::string &id : ids) {
        std::unique_ptr<icu::TimeZone> zone = zoneNamed(id);
        if (!zone) {
            continue;
        }
        icu::UnicodeString canonical;
        UErrorCode status = U_ZERO_ERROR;
        icu::TimeZone::getCanonicalID(icu::UnicodeString::fromUTF8(id), canonical, status);
        std::string canonicalId;
        canonical.toUTF8String(canonicalId);
        if (U_SUCCESS(status) && canonicalId == id) {
            return zone;
        }
        if (!fallback) {
            fallback = std::move(zone);
        }
    }
    return fallback;
}

// The clock asks every second: the zone is looked up again only when the link or the file changes.
struct Cache {
    std::string key;
    std::unique_ptr<icu::TimeZone> zone;
};

std::unique_ptr<icu::TimeZone> hostZone(const char *localtimePath, const char *zoneinfoPath)
{
    thread_local Cache cache;
    std::string key;
    if (const auto id = linkedZoneId(localtimePath)) {
        key = "link " + *id;
        if (key != cache.key) {
            cache = {key, zoneNamed(*id)};
        }
    } else if (struct stat file{}; stat(localtimePath, &file) == 0 && S_ISREG(file.st_mode)) {
        key = "file " + std::to_string(file.st_dev) + ' ' + std::to_string(file.st_ino) + ' '
              + std::to_string(file.st_mtim.tv_sec) + '.' + std::to_string(file.st_mtim.tv_nsec) + ' '
              + std::to_string(file.st_size);
        if (key != cache.key) {
            const auto contents = contentsOf(localtimePath);
            cache = {key, contents ? zoneWithContents(*contents, zoneinfoPath) : nullptr};
        }
    } else {
        cache = {};
    }
    return cache.zone ? std::unique_ptr<icu::TimeZone>(cache.zone->clone()) : nullptr;
}

} // namespace

std::unique_ptr<icu::TimeZone> detect(const char *localtimePath, const char *zoneinfoPath)
{
    const char *tz = std::getenv("TZ");
    if (tz == nullptr || *tz == '\0') {
        if (std::unique_ptr<icu::TimeZone> zone = hostZone(localtimePath, zoneinfoPath)) {
            return zone;
        }
    }
    return std::unique_ptr<icu::TimeZone>(icu::TimeZone::detectHostTimeZone());
}

} // namespace TovikHostTimeZone
