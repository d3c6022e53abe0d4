// SPDX-FileCopyrightText: 2026 The Velmo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "sim/sudo_user.h"

#include <grp.h>
#include <unistd.h>

#include <cerrno>
#include <charconv>
#include <cstring>
#include <limits>
#include <stdexcept>

namespace velmo::sim {

std::optional<std::uint32_t> ParseId(std::string_view text) {
    if (text.empty() || text.front() < '0' || text.front() > '9') return std::nullopt;
    std::uint32_t value = 0;
    const char* end = text.data() + text.size();
    const auto [ptr, ec] = std::from_chars(text.data(), end, value);
    if (ec != std::errc{} || ptr != end) return std::nullopt;
    if (value == std::numeric_limits<std::uint32_t>::max()) return std::nullopt;
    return value;
}

std::variant<NotUnderSudo, SudoUser, std::string> SudoUserFrom(const char* uid, const char* gid) {
    if (uid == nullptr && gid == nullptr) return NotUnderSudo{};
    if (uid == nullptr || gid == nullptr) return std::string("SUDO_UID and SUDO_GID must be set together");
    const auto user = ParseId(uid);
    if (!user) return "SUDO_UID '" + std::string(uid) + "' is not a user id";
    const auto group = ParseId(gid);
    if (!group) return "SUDO_GID '" + std::string(gid) + "' is not a group id";
    return SudoUser{static_cast<uid_t>(*user), static_cast<gid_t>(*group)};
}

void BecomeUser(const SudoUser& user) {
    const auto fail = [](const char* step) {
        throw std::runtime_error(std::string("cannot give up root (") + step + "): " + std::strerror(errno));
    };
    if (setgroups(0, nullptr) != 0) fail("setgroups");
    if (setresgid(user.gid, user.gid, user.gid) != 0) fail("setresgid");
    if (setresuid(user.uid, user.uid, user.uid) != 0) fail("setresuid");
    uid_t real = 0, effective = 0, saved = 0;
    if (getresuid(&real, &effective, &saved) != 0 || real != user.uid || effective != user.uid || saved != user.uid) {
        fail("getresuid");
    }
    gid_t real_group = 0, effective_group = 0, saved_group = 0;
    if (getresgid(&real_group, &effective_group, &saved_group) != 0 || real_group != user.gid ||
        effective_group != user.gid || saved_group != user.gid) {
        fail("getresgid");
    }
    if (user.uid != 0 && setuid(0) == 0) {
        errno = EPERM;
        fail("root could be had back");
    }
}

}  // namespace velmo::sim
