// SPDX-FileCopyrightText: 2026 The Velmo developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Received bytes into list entries: any bytes, never a crash, and every
// entry is a marker and at most four characters of what was received.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "replies.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string reply(reinterpret_cast<const char*>(data), size);
    std::size_t kept = 0;
    for (const auto& entry : velmo::ReplyEntries(reply)) {
        // The entry is its code's marker and a code of 1 to 4 characters.
        std::size_t code_length = 0;
        for (std::size_t k = 1; k <= 4 && k <= entry.size() && code_length == 0; ++k) {
            const std::string code = entry.substr(entry.size() - k);
            if (std::string(velmo::ReplyMarker(code)) + code == entry) code_length = k;
        }
        if (code_length == 0) std::abort();
        if (entry.find_first_of("\r\n") != std::string::npos) std::abort();
        kept += code_length;
    }
    if (kept > size) std::abort();
    return 0;
}
