// SPDX-FileCopyrightText: 2026 The Velmo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <string>
#include <vector>

namespace velmo::testing {

// What switching on with the start-up settings must send, in order: the
// switch-on command, "G300", the levels, the switches, and the tuning
// command three times (once from the mode, once from the filter, once of
// its own). Written out here as the tests expect it, not taken from the
// program.
inline const std::vector<std::string> kSwitchOnCommands = {"H101",
                                                           "G300",
                                                           "J4064",
                                                           "J4180",
                                                           "J4350",
                                                           "J5000",
                                                           "J4500",
                                                           "J4700",
                                                           "J4600",
                                                           "K00081300000060400",
                                                           "K00081300000060400",
                                                           "K00081300000060400"};

}  // namespace velmo::testing
