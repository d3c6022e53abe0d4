// SPDX-FileCopyrightText: 2026 The Velmo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include <gtest/gtest.h>

#include <cmath>

#include "number_reading.h"

namespace velmo {
namespace {

TEST(ReadNumber, ReadsTheLeadingNumber) {
    const std::pair<std::string, double> cases[] = {
        {"145.5", 145.5},
        {"145.5 MHz", 145.5},
        {"1 300", 1300},
        {"145,5", 145},
        {"12abc", 12},
        {"abc", 0},
        {"-5", -5},
        {"0.09", 0.09},
        {"1300.001", 1300.001},
        {"+7.25", 7.25},
        {" \t 8 1 . 3 ", 81.3},
        {".5", 0.5},
        {"5.", 5},
        {".", 0},
        {"-", 0},
        {"", 0},
        {"1e3", 1000},
        {"1E-1", 0.1},
        {"2e", 2},
        {"2e+", 2},
        {"0x10", 0},
        {"1.2.3", 1.2},
        {"--5", 0},
        {"1e-400", 0},
    };
    for (const auto& [text, value] : cases) EXPECT_DOUBLE_EQ(ReadNumber(text), value) << '"' << text << '"';
}

TEST(ReadNumber, NeverGivesNaNAndOverflowIsInfinite) {
    for (const char* text : {"nan", "NaN", "inf", "-inf", "infinity"}) {
        const double value = ReadNumber(text);
        EXPECT_FALSE(std::isnan(value)) << text;
        EXPECT_EQ(value, 0.0) << text;
    }
    EXPECT_TRUE(std::isinf(ReadNumber("1e999")));
    EXPECT_TRUE(std::isinf(ReadNumber("1e309")));
    EXPECT_TRUE(std::isinf(ReadNumber(std::string(10'000, '9'))));
    EXPECT_TRUE(std::signbit(ReadNumber("-0")));
}

TEST(EntryDefaultText, TwoDecimalsHalfToEvenWithoutTrailingZeros) {
    const std::pair<double, const char*> cases[] = {
        {81.3, "81.3"},  {145.0, "145"},  {0.1, "0.1"},        {145.5125, "145.51"}, {1300, "1300"},
        {0.125, "0.12"}, {0.375, "0.38"}, {145.125, "145.12"}, {99.999, "100"},      {81.305, "81.31"},
    };
    for (const auto& [value, text] : cases) EXPECT_EQ(EntryDefaultText(value), text) << value;
}

}  // namespace
}  // namespace velmo
