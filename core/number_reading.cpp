// SPDX-FileCopyrightText: 2026 The Velmo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "number_reading.h"

#include <charconv>
#include <cmath>
#include <limits>

namespace velmo {
namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

}  // namespace

double ReadNumber(std::string_view text) {
    std::string squeezed;
    squeezed.reserve(text.size());
    for (const char c : text) {
        if (c != ' ' && c != '\t') squeezed.push_back(c);
    }

    std::size_t i = 0;
    bool negative = false;
    if (i < squeezed.size() && (squeezed[i] == '+' || squeezed[i] == '-')) {
        negative = squeezed[i] == '-';
        ++i;
    }
    std::string number;
    while (i < squeezed.size() && IsDigit(squeezed[i])) number.push_back(squeezed[i++]);
    if (i < squeezed.size() && squeezed[i] == '.') {
        ++i;
        std::string fraction;
        while (i < squeezed.size() && IsDigit(squeezed[i])) fraction.push_back(squeezed[i++]);
        if (!fraction.empty()) number += "." + fraction;
    }
    if (number.empty()) return negative ? -0.0 : 0.0;

    // An exponent counts only when digits follow it.
    if (i < squeezed.size() && (squeezed[i] == 'e' || squeezed[i] == 'E')) {
        std::size_t j = i + 1;
        std::string exponent = "e";
        if (j < squeezed.size() && (squeezed[j] == '+' || squeezed[j] == '-')) exponent.push_back(squeezed[j++]);
        if (j < squeezed.size() && IsDigit(squeezed[j])) {
            while (j < squeezed.size() && IsDigit(squeezed[j])) exponent.push_back(squeezed[j++]);
            number += exponent;
        }
    }

    double value = 0.0;
    const auto [end, error] = std::from_chars(number.data(), number.data() + number.size(), value);
    (void)end;
    if (error == std::errc::result_out_of_range) {
        // Too large reads as infinity, too small as zero; either fails the
        // range test of the caller.
        const bool huge = number.find("e-") == std::string::npos;
        value = huge ? std::numeric_limits<double>::infinity() : 0.0;
    }
    return negative ? -value : value;
}

std::string EntryDefaultText(double megahertz) {
    char buffer[400];
    // Fixed notation with a given precision rounds the exact binary value,
    // a tie going to the even neighbour, and never uses the locale.
    const auto [end, error] = std::to_chars(buffer, buffer + sizeof buffer, megahertz, std::chars_format::fixed, 2);
    if (error != std::errc{}) return "0";
    std::string text(buffer, end);
    while (!text.empty() && text.back() == '0') text.pop_back();
    if (!text.empty() && text.back() == '.') text.pop_back();
    if (text == "-0") text = "0";
    return text;
}

}  // namespace velmo
