#pragma once

#include <chrono>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <sys/types.h>

struct sockaddr_un;

// Where the per-user sockets of Dayvane's processes live, and the client end of them: it never holds its
// caller up longer than the budget it is given and talks only to a peer of its own user.
// TovikLocalProtocol.h describes what is said on them.
namespace TovikLocalSocket {

// $XDG_RUNTIME_DIR/dayvane; empty without an absolute XDG_RUNTIME_DIR.
std::filesystem::path folder();
// folder(), created with mode 0700 when missing (and narrowed to 0700 when ours and wider); empty when
// there is none, or it is not a folder of this user.
std::filesystem::path ensureFolder();

// Sends one line and waits for one reply line (returned without its "\n"), all within the budget; none
// when nobody of this user took the line and answered in time.
std::optional<std::string> exchange(const std::filesystem::path &socket, std::string_view line,
                                    std::chrono::milliseconds budget);
// Sends one line without waiting for the reply; whether a listener of this user took it whole in time.
bool post(const std::filesystem::path &socket, std::string_view line, std::chrono::milliseconds budget);

// The user of the process at the other end of a connected Unix socket.
std::optional<uid_t> peerUser(int fd);
// Fills a Unix socket address for the path; false when the path is too long for one.
bool fillAddress(const std::filesystem::path &socket, sockaddr_un &address);

} // namespace TovikLocalSocket
