// SPDX-FileCopyrightText: 2026 The Velmo developers
// SPDX-License-Identifier: GPL-3.0-or-later

// A typed frequency: whatever is typed, the reading is never NaN, and the
// entry box's default text of any frequency reads back within 0.005.
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "number_reading.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string typed(reinterpret_cast<const char*>(data), size);
    const double value = velmo::ReadNumber(typed);
    if (std::isnan(value)) std::abort();

    if (size >= sizeof(double)) {
        double frequency = 0;
        std::memcpy(&frequency, data, sizeof frequency);
        if (std::isfinite(frequency) && std::fabs(frequency) < 1e6) {
            const std::string text = velmo::EntryDefaultText(frequency);
            if (text.empty() || text.back() == '.' || text.find(',') != std::string::npos) std::abort();
            if (std::fabs(velmo::ReadNumber(text) - frequency) > 0.005 + 1e-9) std::abort();
        }
    }
    return 0;
}
