// SPDX-FileCopyrightText: 2026 The Velmo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "on_path.h"

#include <unistd.h>

#include <algorithm>
#include <cstdlib>

namespace velmo::bench {

std::optional<std::string> FindOnPath(const std::string& program) {
    const char* path = std::getenv("PATH");
    const std::string folders = path ? path : "/usr/bin:/bin";
    std::size_t from = 0;
    while (from <= folders.size()) {
        const std::size_t to = std::min(folders.find(':', from), folders.size());
        const std::string candidate = folders.substr(from, to - from) + "/" + program;
        if (access(candidate.c_str(), X_OK) == 0) return candidate;
        from = to + 1;
    }
    return std::nullopt;
}

}  // namespace velmo::bench
