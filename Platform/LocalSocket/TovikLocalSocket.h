#pragma once

#include <chrono>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <sys/types.h>
#include <system_error>

struct sockaddr_un;

// Where the per-user sockets of Dayvane's processes live, and the client end of them: it never holds its
// caller up longer than the budget it is given and talks only to a peer of its own user.
// TovikLocalProtocol.h describes what is said on them.
namespace TovikLocalSocket {

// A per-user file or folder that cannot be used, and why, in words for the user (Chinese).
struct Unusable {
    std::filesystem::path path;
    std::string reason;

    // "无法使用 <path>：<reason>"
    std::string message() const;
};

// $XDG_RUNTIME_DIR/dayvane; empty without an absolute XDG_RUNTIME_DIR.
std::filesystem::path folder();
// folder(), created with mode 0700 when missing and narrowed to 0700 when ours and wider. A link in its
// place is removed, never followed, when the runtime folder is this user's alone. Empty when there is no
// XDG_RUNTIME_DIR, and empty with `unusable` set when the folder cannot be had (a file, another user's
// folder, a link in a shared runtime folder, a runtime folder that is missing).
std::filesystem::path ensureFolder(std::optional<Unusable> *unusable = nullptr);

// Removes whatever is at the path, a link itself and never what it points to, a folder only when empty.
std::error_code removeEntry(const std::filesystem::path &path);
// Why an operation on a per-user file failed, in words for the user.
std::string reasonOf(std::error_code error);

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
