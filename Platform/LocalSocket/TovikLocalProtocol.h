#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

// The one protocol spoken on the per-user sockets of Dayvane's processes: the application's single
// instance and the widget host's reload channel.
//
// Sockets: Unix stream sockets in $XDG_RUNTIME_DIR/dayvane/, a folder of mode 0700:
//   app.socket           the running application, served by whoever holds the lock app.lock
//   widget-host.socket   the widget host
// A listener serves only peers of its own user (SO_PEERCRED) and closes any other connection unanswered.
//
// Exchange: the client connects, writes one request line, reads one reply line and closes. A client that
// does not need the outcome may close without reading the reply (reload does).
//
// Request line, at most maximumLineBytes long with its ending "\n":
//   dayvane1 <kind> [<name>=<value> ...] [<argument> ...]\n
// Words are separated by one space. Every word is percent-encoded: each byte below 0x21, 0x7F, '%' and '='
// is written %XX (upper-case hex), so a word holds no space, no line break and no '='; the one literal '='
// of a word marks an option. No word is empty. Kinds, options and arguments:
//   open [activation=<token>] <url> ...   handle these URLs as the application's open-URLs event does
//   reopen [activation=<token>]           bring the main window forward, as a click on the application's icon
//   reload <widget kind>                  reload the timelines of one widget kind
// activation is the token the requesting process was started with (XDG_ACTIVATION_TOKEN, or
// DESKTOP_STARTUP_ID on X11), which lets the receiving process take the focus for the window it raises.
// Examples:
//   dayvane1 open dayvane://clock
//   dayvane1 reopen activation=kwin-4242_TIME1731
//   dayvane1 reload DayvaneStopwatchWidget
//
// Reply line:
//   ok\n                  the request was carried out
//   error version\n       the first word is not a version this listener speaks
//   error request\n       the line is malformed or too long, or not a known request
//   error unsupported\n   a known request this listener does not serve (reload sent to the application)
// The application answers a request only once it has carried it out, which is after its main window exists.
namespace TovikLocalProtocol {

inline constexpr std::string_view version = "dayvane1";
inline constexpr std::size_t maximumLineBytes = std::size_t{16} * 1024;

enum class Kind { open, reopen, reload };

struct Request {
    Kind kind = Kind::reopen;
    // The URLs of open, the widget kind of reload.
    std::vector<std::string> arguments;
    // Empty when the requesting process was started without one.
    std::string activationToken;

    bool operator==(const Request &) const = default;
};

enum class Reply { ok, errorVersion, errorRequest, errorUnsupported };

// The request line with its "\n"; none for a request its kind does not allow (open without URLs, reload
// without exactly one kind, reload with a token, an empty argument).
std::optional<std::string> encode(const Request &request);
// A request line without its "\n": the request, or the error to answer.
std::variant<Request, Reply> decode(std::string_view line);

// The reply line with its "\n".
std::string replyLine(Reply reply);
// A reply line without its "\n"; none when it is not one.
std::optional<Reply> decodeReply(std::string_view line);

} // namespace TovikLocalProtocol
