#pragma once

#include <unicode/uversion.h>

#include <memory>

U_NAMESPACE_BEGIN
class TimeZone;
U_NAMESPACE_END

// The host's time zone as it is now. ICU reads /etc/localtime once per process, so a zone changed while
// the program runs would go unnoticed: with no TZ set, /etc/localtime is looked at again at each call.
// A link (timedatectl set-timezone relinks it) names its zone; a copied file (some images and containers
// copy the zone file instead) is matched by content against the zone database whenever its inode or
// modification time changes. TZ, when set, is ICU's to interpret.
namespace TovikHostTimeZone {

std::unique_ptr<icu::TimeZone> detect(const char *localtimePath = "/etc/localtime",
                                      const char *zoneinfoPath = "/usr/share/zoneinfo");

} // namespace TovikHostTimeZone
