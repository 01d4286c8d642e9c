#pragma once

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <string>
#include <sys/mount.h>

// A small tmpfs mounted on a folder of the test's own, for a real full or read-only disk. Mounting needs
// privileges a test may not have: check mounted() and skip with why() otherwise.
class ScratchMount {
public:
    ScratchMount(std::filesystem::path at, const std::string &size)
        : m_at(std::move(at))
    {
        std::filesystem::create_directories(m_at);
        const std::string options = "size=" + size + ",mode=0700";
        m_mounted = ::mount("tmpfs", m_at.c_str(), "tmpfs", 0, options.c_str()) == 0;
        m_why = m_mounted ? "" : "cannot mount a tmpfs here (" + std::string(std::strerror(errno)) + ")";
    }
    ~ScratchMount()
    {
        if (m_mounted) {
            ::umount2(m_at.c_str(), MNT_DETACH);
        }
    }
    ScratchMount(const ScratchMount &) = delete;
    ScratchMount &operator=(const ScratchMount &) = delete;

    bool mounted() const { return m_mounted; }
    const std::string &why() const { return m_why; }
    const std::filesystem::path &path() const { return m_at; }
    bool setReadOnly(bool readOnly) const
    {
        return ::mount(nullptr, m_at.c_str(), nullptr, MS_REMOUNT | (readOnly ? MS_RDONLY : 0), nullptr) == 0;
    }

private:
    std::filesystem::path m_at;
    bool m_mounted = false;
    std::string m_why;
};
