// SPDX-FileCopyrightText: 2026 The Velmo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <cstdint>
#include <string>

namespace velmo {

// The frequency in MHz rounded to the nearest hertz, from the double as it
// stands.
std::int64_t RoundToHertz(double megahertz);

// "###0.000.000": whole megahertz without leading zeros, then kilohertz and
// hertz, three digits each. The points never follow the desktop's locale.
std::string FrequencyDisplayText(double megahertz);

// "K0" + ten digits of hertz + mode code + filter code + "00".
std::string TuningCommand(double megahertz, const std::string& mode, const std::string& filter);

// A level 0 to 255 as exactly two upper-case hexadecimal digits.
std::string HexLevel(int level);

}  // namespace velmo
