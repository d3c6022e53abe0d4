// SPDX-FileCopyrightText: 2026 The Velmo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include <gtest/gtest.h>

#include <string>

#include "line_settings.h"

namespace velmo {
namespace {

struct GoodCase {
    std::string text;
    LineSettings expected;
};

void PrintTo(const GoodCase& c, std::ostream* out) { *out << '"' << c.text << '"'; }

class ParseLineSettingsAccepts : public ::testing::TestWithParam<GoodCase> {};

TEST_P(ParseLineSettingsAccepts, ReadsEveryField) {
    const auto parsed = ParseLineSettings(GetParam().text);
    ASSERT_TRUE(parsed.has_value()) << GetParam().text;
    EXPECT_EQ(*parsed, GetParam().expected) << GetParam().text;
}

INSTANTIATE_TEST_SUITE_P(Texts, ParseLineSettingsAccepts,
                         ::testing::Values(GoodCase{"9600,N,8,1", {9600, Parity::None, 8, StopBits::One}},
                                           GoodCase{"9600,n,8,1", {9600, Parity::None, 8, StopBits::One}},
                                           GoodCase{"19200,E,7,2", {19200, Parity::Even, 7, StopBits::Two}},
                                           GoodCase{"300,o,5,1.5", {300, Parity::Odd, 5, StopBits::OneAndHalf}},
                                           GoodCase{"115200,M,6,1", {115200, Parity::Mark, 6, StopBits::One}},
                                           GoodCase{"1200,S,8,2", {1200, Parity::Space, 8, StopBits::Two}},
                                           GoodCase{"2147483647,N,8,1", {2147483647, Parity::None, 8, StopBits::One}}));

class ParseLineSettingsRefuses : public ::testing::TestWithParam<std::string> {};

TEST_P(ParseLineSettingsRefuses, MalformedText) {
    EXPECT_FALSE(ParseLineSettings(GetParam()).has_value()) << '"' << GetParam() << '"';
}

INSTANTIATE_TEST_SUITE_P(Texts, ParseLineSettingsRefuses,
                         ::testing::Values("", ",,,", "9600", "9600,N,8", "9600,N,8,1,", "9600,N,8,1,0", ",9600,N,8,1",
                                           // baud
                                           "0,N,8,1", "-9600,N,8,1", "+9600,N,8,1", "96OO,N,8,1", "9600.5,N,8,1",
                                           "2147483648,N,8,1", " 9600,N,8,1",
                                           // parity
                                           "9600,,8,1", "9600,X,8,1", "9600,NN,8,1", "9600,0,8,1", "9600, N,8,1",
                                           // data bits
                                           "9600,N,4,1", "9600,N,9,1", "9600,N,,1", "9600,N,8.0,1",
                                           // stop bits
                                           "9600,N,8,0", "9600,N,8,3", "9600,N,8,1.0", "9600,N,8,1,5", "9600,N,8,",
                                           "9600,N,8,1 ", std::string("9600,N,8,1\0", 11)));

}  // namespace
}  // namespace velmo
