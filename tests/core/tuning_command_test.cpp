// SPDX-FileCopyrightText: 2026 The Velmo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include <gtest/gtest.h>

#include <cmath>

#include "tuning_command.h"

namespace velmo {
namespace {

struct TuningCase {
    double megahertz;
    const char* display;
    const char* command;  // WFM, 230 KHz
};

TEST(TuningCommand, WorkedExamplesAndRounding) {
    const double hair_below_81_4 = std::nextafter(81.4, 0.0);
    const TuningCase cases[] = {
        {81.3, "81.300.000", "K00081300000060400"},           {0.1, "0.100.000", "K00000100000060400"},
        {145.5125, "145.512.500", "K00145512500060400"},      {1300, "1300.000.000", "K01300000000060400"},
        {81.300001, "81.300.001", "K00081300001060400"},      {100.0000004, "100.000.000", "K00100000000060400"},
        {100.0000006, "100.000.001", "K00100000001060400"},   {hair_below_81_4, "81.400.000", "K00081400000060400"},
        {81.3 + 0.1, "81.400.000", "K00081400000060400"},     {999.9999999, "1000.000.000", "K01000000000060400"},
        {0.3 - 0.1 - 0.1, "0.100.000", "K00000100000060400"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.megahertz);
        EXPECT_EQ(FrequencyDisplayText(c.megahertz), c.display);
        EXPECT_EQ(TuningCommand(c.megahertz, "06", "04"), c.command);
    }
}

TEST(TuningCommand, CarriesModeAndFilterCodes) {
    EXPECT_EQ(TuningCommand(7.1, "01", "00"), "K00007100000010000");
    EXPECT_EQ(TuningCommand(81.3, "05", "04"), "K00081300000050400");
    EXPECT_EQ(TuningCommand(81.3, "06", "00"), "K00081300000060000");
}

TEST(HexLevel, TwoUpperCaseDigits) {
    const std::pair<int, const char*> cases[] = {{0, "00"},  {5, "05"},   {10, "0A"},  {15, "0F"},  {16, "10"},
                                                 {80, "50"}, {100, "64"}, {128, "80"}, {171, "AB"}, {255, "FF"}};
    for (const auto& [level, hex] : cases) EXPECT_EQ(HexLevel(level), hex) << level;
}

}  // namespace
}  // namespace velmo
