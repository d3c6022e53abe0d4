// SPDX-FileCopyrightText: 2026 The Velmo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "time_source.h"

namespace velmo::sim {

// Everything in the simulator is a pure function of the times it is given,
// so a test can run it on a virtual clock and the pty server on a real one.
using velmo::Clock;
using velmo::Micros;
using velmo::SteadyClock;

}  // namespace velmo::sim
