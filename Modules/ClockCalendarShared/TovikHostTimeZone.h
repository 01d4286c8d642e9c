#pragma once

#include <unicode/uversion.h>

#include <memory>

U_NAMESPACE_BEGIN
class TimeZone;
U_NAMESPACE_END

// The host's time zone as it is now. ICU reads /etc/localtime once per process, so a zone changed while
// the program runs (timedatectl set-timezone relinks it) would go unnoticed: with no TZ set, the link
// is read again at each call. TZ, when set, is ICU's to interpret.
namespace TovikHostTimeZone {

std::unique_ptr<icu::TimeZone> detect(const char *localtimePath = "/etc/localtime");

} // namespace TovikHostTimeZone
