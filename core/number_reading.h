// SPDX-FileCopyrightText: 2026 The Velmo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <string>
#include <string_view>

namespace velmo {

// Reads the leading number of a typed text: blanks and tabs anywhere are
// ignored, a sign may lead, "." is the decimal point and an exponent
// ("1e3") is allowed; reading stops at the first character that cannot
// continue the number, and a text without one reads as 0. A number too
// large for a double reads as an infinity; the result is never NaN.
double ReadNumber(std::string_view text);

// The entry box's default: the frequency rounded to 2 decimals (a half to
// the even neighbour), without trailing zeros or point: 81.3, 145, 0.1.
std::string EntryDefaultText(double megahertz);

}  // namespace velmo
