// SPDX-FileCopyrightText: 2026 The Velmo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <sys/types.h>

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <variant>

namespace velmo::sim {

// The user who ran a program through sudo, to whom it hands the terminal
// and as whom it serves it.
struct SudoUser {
    uid_t uid = 0;
    gid_t gid = 0;
};

// A user or group id written as sudo writes it: decimal digits only, the
// whole text, within 32 bits and not the all-ones "no id" value. Anything
// else is no id at all, never 0 (root) by accident.
std::optional<std::uint32_t> ParseId(std::string_view text);

// From the values of SUDO_UID and SUDO_GID (null when unset): nothing when
// neither is set, the user, or a message saying what is wrong.
struct NotUnderSudo {};
std::variant<NotUnderSudo, SudoUser, std::string> SudoUserFrom(const char* uid, const char* gid);

// Gives up root for good: no supplementary groups, then the group, then
// the user, all three ids of each. Throws std::runtime_error if any step
// fails or root could be had back.
void BecomeUser(const SudoUser& user);

}  // namespace velmo::sim
