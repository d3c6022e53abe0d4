// SPDX-FileCopyrightText: 2026 The Velmo developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The squelch test and the signal reading on any received bytes: the bar
// always stays within 0 to 75, and a complete answer is found when present.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "signal_reading.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    const int previous = data[0] % 76;
    const std::string reply(reinterpret_cast<const char*>(data + 1), size - 1);

    if (const auto bar = velmo::SignalBarLength(reply, previous)) {
        if (*bar < 0 || *bar > velmo::kLongestBar) std::abort();
        if (reply.find("I1") == std::string::npos) std::abort();
    } else if (reply.find("I1") != std::string::npos) {
        std::abort();
    }
    if (velmo::SquelchOpen(reply) && !velmo::HasCompleteAnswer(reply, "I0")) std::abort();
    const auto text = velmo::SignalBarText(previous);
    if (text.size() != static_cast<std::size_t>(previous) + 1) std::abort();
    return 0;
}
