// SPDX-FileCopyrightText: 2026 The Velmo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include <cmath>

#include "front_panel.h"
#include "number_reading.h"
#include "panel_view.h"
#include "tuning_steps.h"

namespace velmo {

void FrontPanel::TuneUp() {
    if (const auto increment = StepIncrement(view_.TuningStepText())) Frequency += *increment;
    // Past the top wraps to the bottom itself, not to the overshoot.
    if (Frequency > kHighestFrequency) Frequency = kLowestFrequency;
    SendFrequency();
}

void FrontPanel::TuneDown() {
    if (const auto increment = StepIncrement(view_.TuningStepText())) Frequency -= *increment;
    if (Frequency < kLowestFrequency) Frequency = kHighestFrequency;
    SendFrequency();
}

void FrontPanel::EnterFrequency() {
    for (;;) {
        // The default is worked out afresh each round: a scanner tick may
        // have moved the frequency while the box was open.
        const std::string text = view_.InputBox("Enter Frequency in MHz (From 0.1 To 1300) :", "Input Direct Frequency",
                                                EntryDefaultText(Frequency));
        if (text.empty()) return;
        const double entered = ReadNumber(text);
        // NaN and the infinities fail both comparisons.
        if (entered >= kLowestFrequency && entered <= kHighestFrequency) {
            Frequency = entered;
            SendFrequency();
            return;
        }
    }
}

}  // namespace velmo
