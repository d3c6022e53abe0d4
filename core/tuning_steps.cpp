// SPDX-FileCopyrightText: 2026 The Velmo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "tuning_steps.h"

namespace velmo {

std::optional<double> StepIncrement(std::string_view text) {
    for (const auto& row : kTuningSteps) {
        if (row.text == text) return row.increment_mhz;
    }
    return std::nullopt;
}

}  // namespace velmo
