// SPDX-FileCopyrightText: 2026 The Velmo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "scan_checks.h"

#include <gtest/gtest.h>

#include "wait.h"
#include "window_sampler.h"

namespace velmo::testing {

void ScanPastTheStationAt82_5(const WindowDriver& user) {
    Sampler sampler(user);
    user.Click("Scan");
    ASSERT_TRUE(WaitUntil([&] { return user.Display() == "82.600.000"; }, 20s)) << user.Display();
    user.Click("Scan");
    const auto hold = sampler.FirstStayAt("82.500.000");
    ASSERT_TRUE(hold) << "never held on 82.5 MHz";
    EXPECT_GE(hold->left_ms - hold->arrived_ms, 5900) << "held for 6 s";
    EXPECT_LE(hold->left_ms - hold->arrived_ms, 7000);
}

}  // namespace velmo::testing
