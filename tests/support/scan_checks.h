// SPDX-FileCopyrightText: 2026 The Velmo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "window_driver.h"

namespace velmo::testing {

// Scans up from 81.3 MHz (the start-up frequency, 100 KHz steps) with the
// simulated receiver's default band until 82.6 MHz, and stops: on the way
// the scanner must have held on the station at 82.5 MHz for its 6 seconds.
// Fails the test (fatally) if not; call it in ASSERT_NO_FATAL_FAILURE.
void ScanPastTheStationAt82_5(const WindowDriver& user);

}  // namespace velmo::testing
