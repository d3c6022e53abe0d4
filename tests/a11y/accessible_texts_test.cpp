// SPDX-FileCopyrightText: 2026 The Velmo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "accessible_texts.h"

#include <gtest/gtest.h>

#include "panel_texts.h"

namespace velmo::accessibility {
namespace {

TEST(AccessibleTexts, FrequencyDisplayReadAsOneNumberInMegahertz) {
    struct Row {
        const char* display;
        const char* words;
        double megahertz;
    };
    const Row rows[] = {
        {"81.300.000", "81.3 MHz", 81.3},
        {"1300.000.000", "1300 MHz", 1300.0},
        {"0.100.000", "0.1 MHz", 0.1},
        {"145.512.500", "145.5125 MHz", 145.5125},
        {"81.300.020", "81.30002 MHz", 81.30002},
        {"0.000.001", "0.000001 MHz", 0.000001},
        {"  999.999.999", "999.999999 MHz", 999.999999},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(FrequencyInWords(QString::fromLatin1(row.display)), QString::fromLatin1(row.words)) << row.display;
        const std::optional<double> megahertz = FrequencyInMegahertz(QString::fromLatin1(row.display));
        ASSERT_TRUE(megahertz.has_value()) << row.display;
        EXPECT_DOUBLE_EQ(*megahertz, row.megahertz) << row.display;
    }
}

TEST(AccessibleTexts, TextThatIsNoFrequencyDisplayIsPassedOnAsItIs) {
    for (const char* text : {"", "1300.000", "81,300,000", "abc.def.ghi", "81.300.0000"}) {
        EXPECT_EQ(FrequencyInWords(QString::fromLatin1(text)), QString::fromLatin1(text).trimmed()) << text;
        EXPECT_FALSE(FrequencyInMegahertz(QString::fromLatin1(text)).has_value()) << text;
    }
}

TEST(AccessibleTexts, SignalBarLengthIsItsBarCharacters) {
    EXPECT_EQ(SignalBarLength(QStringLiteral(" ")), 0);
    EXPECT_EQ(SignalBarLength(QStringLiteral(" |||")), 3);
    EXPECT_EQ(SignalBarLength(FullSignalBar()), kLongestSignalBar);
    EXPECT_EQ(SignalInWords(32), QStringLiteral("32 of 75"));
}

TEST(AccessibleTexts, LampsAreOnOnlyWhenGreen) {
    EXPECT_TRUE(LampIsOn(QColor(0, 255, 0)));
    for (const QColor& colour : {QColor(255, 0, 0), QColor(192, 192, 192), QColor(0, 254, 0)}) {
        EXPECT_FALSE(LampIsOn(colour)) << colour.name().toStdString();
    }
    EXPECT_EQ(LampInWords(Lamp::Receiver, true), QStringLiteral("Receiver on"));
    EXPECT_EQ(LampInWords(Lamp::Receiver, false), QStringLiteral("Receiver off"));
    EXPECT_EQ(LampInWords(Lamp::Scanner, true), QStringLiteral("Scanner running"));
    EXPECT_EQ(LampInWords(Lamp::Scanner, false), QStringLiteral("Scanner stopped"));
}

}  // namespace
}  // namespace velmo::accessibility
