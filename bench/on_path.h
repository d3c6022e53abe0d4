// SPDX-FileCopyrightText: 2026 The Velmo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <optional>
#include <string>

namespace velmo::bench {

// A program found on the PATH, as the shell would find it; none when no
// folder of the PATH has it.
std::optional<std::string> FindOnPath(const std::string& program);

}  // namespace velmo::bench
