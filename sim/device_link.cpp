// SPDX-FileCopyrightText: 2026 The Velmo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "sim/device_link.h"

#include <fcntl.h>
#include <stdio.h>  // renameat2
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <climits>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>

namespace velmo::sim {

namespace {

std::string Why() { return std::strerror(errno); }

// The name's hold is an abstract Unix socket named after the link's full
// path: only one process can have it bound, and the kernel lets go of it
// when the last process holding it ends, even by SIGKILL.
int HoldName(const std::string& folder, const std::string& name) {
    std::array<char, PATH_MAX> real{};
    if (realpath(folder.c_str(), real.data()) == nullptr) return -1;
    std::string key = std::string("velmo-sim ") + real.data() + "/" + name;
    sockaddr_un address{};
    if (key.size() >= sizeof(address.sun_path) - 1) {
        std::uint64_t hash = 14695981039346656037ull;  // FNV-1a
        for (const unsigned char c : key) hash = (hash ^ c) * 1099511628211ull;
        key = "velmo-sim #" + std::to_string(hash);
    }
    const int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0) return -1;
    address.sun_family = AF_UNIX;
    std::copy(key.begin(), key.end(), address.sun_path + 1);
    const auto length = static_cast<socklen_t>(offsetof(sockaddr_un, sun_path) + 1 + key.size());
    if (bind(fd, reinterpret_cast<const sockaddr*>(&address), length) != 0) {
        const int error = errno;
        close(fd);
        errno = error;
        return -1;
    }
    return fd;
}

}  // namespace

bool IsSimulatorTarget(std::string_view target) {
    constexpr std::string_view kPts = "/dev/pts/";
    if (target.substr(0, kPts.size()) != kPts) return false;
    const std::string_view number = target.substr(kPts.size());
    return !number.empty() && std::all_of(number.begin(), number.end(), [](char c) { return c >= '0' && c <= '9'; });
}

DeviceLink::DeviceLink(const std::string& path, const std::string& target, bool force, std::ostream& notes)
    : path_(path), target_(target) {
    const auto slash = path.rfind('/');
    const std::string folder = slash == std::string::npos ? "." : slash == 0 ? "/" : path.substr(0, slash);
    name_ = slash == std::string::npos ? path : path.substr(slash + 1);
    if (name_.empty() || name_ == "." || name_ == "..") throw Refused(path + " does not end in a name for a link");

    folder_ = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (folder_ < 0) throw Refused("cannot use the folder " + folder + ": " + Why());
    hold_ = HoldName(folder, name_);
    if (hold_ < 0) {
        const std::string why = errno == EADDRINUSE ? "another velmo-sim is serving it" : Why();
        close(folder_);
        throw Refused("cannot link " + path + ": " + why);
    }
    try {
        // A few tries, in case something else changes the name meanwhile.
        for (int attempt = 0; attempt < 3 && !made_; ++attempt) made_ = Place(target, force, notes);
        if (!made_) throw Refused(path + " keeps changing; it is left alone");
    } catch (...) {
        close(hold_);
        close(folder_);
        throw;
    }
}

// One attempt: false when the name changed under us and it is worth
// looking again.
bool DeviceLink::Place(const std::string& target, bool force, std::ostream& notes) {
    struct stat st {};
    if (fstatat(folder_, name_.c_str(), &st, AT_SYMLINK_NOFOLLOW) != 0) {
        if (errno != ENOENT) throw Refused("cannot look at " + path_ + ": " + Why());
        if (symlinkat(target.c_str(), folder_, name_.c_str()) == 0) return true;
        if (errno == EEXIST) return false;
        throw Refused("cannot make " + path_ + ": " + Why());
    }
    if (!S_ISLNK(st.st_mode)) throw Refused(path_ + " exists and is not a symlink; it is left alone");
    const auto old = TargetOf(name_);
    if (!old) return false;
    if (IsSimulatorTarget(*old)) {
        if (!SwapIn(*old, target)) return false;
        notes << "velmo-sim: took over " << path_ << ", left behind by an earlier velmo-sim (it pointed at " << *old
              << ")\n";
        return true;
    }
    if (!force) {
        throw Refused(path_ + " is a symlink to " + *old +
                      ", which velmo-sim did not make; it is left alone (--force replaces it until velmo-sim ends)");
    }
    if (!SwapIn(*old, target)) return false;
    put_back_ = *old;
    notes << "velmo-sim: warning: " << path_ << " pointed at " << *old
          << "; it points at the simulator until velmo-sim ends, then at " << *old << " again\n";
    return true;
}

// Puts a link to `target` in place of the name, provided the name still
// is a link to `expected_old`; the name exists throughout.
bool DeviceLink::SwapIn(const std::string& expected_old, const std::string& target) {
    const std::string temporary = MakeTemporaryLink(target);
    if (renameat2(folder_, temporary.c_str(), folder_, name_.c_str(), RENAME_EXCHANGE) != 0) {
        const int error = errno;
        if (error == EINVAL) {
            // A file system that cannot swap names: replace it in one step.
            if (renameat(folder_, temporary.c_str(), folder_, name_.c_str()) == 0) return true;
        }
        unlinkat(folder_, temporary.c_str(), 0);
        if (error == ENOENT) return false;
        errno = error;
        throw Refused("cannot replace " + path_ + ": " + Why());
    }
    // The temporary name now holds what was there.
    if (TargetOf(temporary) == expected_old) {
        unlinkat(folder_, temporary.c_str(), 0);
        return true;
    }
    // It changed between our look and the swap: give it its place back.
    renameat2(folder_, temporary.c_str(), folder_, name_.c_str(), RENAME_EXCHANGE);
    unlinkat(folder_, temporary.c_str(), 0);
    return false;
}

std::string DeviceLink::MakeTemporaryLink(const std::string& target) {
    for (int n = 0; n < 100; ++n) {
        const std::string temporary = "." + name_ + ".velmo-sim-" + std::to_string(getpid()) + "-" + std::to_string(n);
        if (symlinkat(target.c_str(), folder_, temporary.c_str()) == 0) return temporary;
        if (errno != EEXIST) break;
    }
    throw Refused("cannot make a link beside " + path_ + ": " + Why());
}

std::optional<std::string> DeviceLink::TargetOf(const std::string& name) const {
    std::array<char, PATH_MAX> buf{};
    const ssize_t n = readlinkat(folder_, name.c_str(), buf.data(), buf.size());
    if (n < 0 || static_cast<std::size_t>(n) >= buf.size()) return std::nullopt;
    return std::string(buf.data(), static_cast<std::size_t>(n));
}

DeviceLink::~DeviceLink() {
    if (made_ && TargetOf(name_) == target_) {
        if (put_back_) {
            try {
                const std::string temporary = MakeTemporaryLink(*put_back_);
                if (renameat(folder_, temporary.c_str(), folder_, name_.c_str()) != 0) {
                    unlinkat(folder_, temporary.c_str(), 0);
                }
            } catch (const Refused&) {
                unlinkat(folder_, name_.c_str(), 0);
            }
        } else {
            unlinkat(folder_, name_.c_str(), 0);
        }
    }
    close(hold_);
    close(folder_);
}

}  // namespace velmo::sim
