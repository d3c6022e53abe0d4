// SPDX-FileCopyrightText: 2026 The Velmo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include <gtest/gtest.h>

#include "sim/sim_options.h"

namespace velmo::sim {
namespace {

TEST(SimOptions, DefaultsWithoutArguments) {
    const auto parsed = ParseSimOptions({});
    ASSERT_TRUE(std::holds_alternative<SimOptions>(parsed));
    const auto& o = std::get<SimOptions>(parsed);
    EXPECT_EQ(o.seed, 1u);
    EXPECT_EQ(o.latency_ms, 3);
    EXPECT_EQ(o.jitter_ms, 0);
    EXPECT_TRUE(o.wire_timing);
    EXPECT_FALSE(o.log);
    EXPECT_TRUE(o.link_path.empty());
    EXPECT_FALSE(o.force);
    EXPECT_EQ(o.double_last, 0.0);
    EXPECT_EQ(o.line_end, LineEnd::CrLf);
    EXPECT_FALSE(o.help);
}

TEST(SimOptions, EveryOptionIsRead) {
    const auto parsed =
        ParseSimOptions({"--seed", "99", "--latency-ms", "0", "--jitter-ms", "40", "--no-wire-timing", "--log",
                         "--link", "/dev/velmo1", "--force", "--double-last", "0.25", "--line-end", "cr", "--help"});
    ASSERT_TRUE(std::holds_alternative<SimOptions>(parsed));
    const auto& o = std::get<SimOptions>(parsed);
    EXPECT_EQ(o.seed, 99u);
    EXPECT_EQ(o.latency_ms, 0);
    EXPECT_EQ(o.jitter_ms, 40);
    EXPECT_FALSE(o.wire_timing);
    EXPECT_TRUE(o.log);
    EXPECT_EQ(o.link_path, "/dev/velmo1");
    EXPECT_TRUE(o.force);
    EXPECT_EQ(o.double_last, 0.25);
    EXPECT_EQ(o.line_end, LineEnd::Cr);
    EXPECT_TRUE(o.help);
}

TEST(SimOptions, BadArgumentsAreRefused) {
    const std::vector<std::vector<std::string>> bad = {
        {"--seed"},
        {"--seed", "x"},
        {"--seed", "-1"},
        {"--seed", "12abc"},
        {"--latency-ms", "-3"},
        {"--latency-ms", "60001"},
        {"--latency-ms", ""},
        {"--jitter-ms"},
        {"--jitter-ms", "-1"},
        {"--jitter-ms", "60001"},
        {"--jitter-ms", "5ms"},
        {"--jitter-ms", "2.5"},
        {"--jitter-ms", ""},
        {"--link"},
        {"--link", ""},
        {"--force"},
        {"--double-last"},
        {"--double-last", "-0.1"},
        {"--double-last", "1.5"},
        {"--double-last", "nan"},
        {"--double-last", "inf"},
        {"--double-last", "half"},
        {"--double-last", "0.5x"},
        {"--double-last", ""},
        {"--line-end"},
        {"--line-end", "CRLF"},
        {"--line-end", "crlf "},
        {"--line-end", ""},
        {"--frobnicate"},
        {"extra"},
    };
    for (const auto& args : bad) {
        const auto parsed = ParseSimOptions(args);
        EXPECT_TRUE(std::holds_alternative<std::string>(parsed)) << args.front() << ' ' << args.back();
    }
    for (const char* chance : {"0", "1", "0.001", "1.0"}) {
        EXPECT_TRUE(std::holds_alternative<SimOptions>(ParseSimOptions({"--double-last", chance}))) << chance;
    }
    // Each number goes to its own option, the bounds included.
    const std::pair<const char*, int> jitters[] = {{"0", 0}, {"1", 1}, {"250", 250}, {"60000", 60'000}};
    for (const auto& [text, ms] : jitters) {
        const auto parsed = ParseSimOptions({"--latency-ms", "7", "--jitter-ms", text});
        ASSERT_TRUE(std::holds_alternative<SimOptions>(parsed)) << text;
        EXPECT_EQ(std::get<SimOptions>(parsed).jitter_ms, ms) << text;
        EXPECT_EQ(std::get<SimOptions>(parsed).latency_ms, 7) << text;
    }
    const std::pair<const char*, LineEnd> ends[] = {
        {"crlf", LineEnd::CrLf}, {"cr", LineEnd::Cr}, {"lf", LineEnd::Lf}, {"none", LineEnd::None}};
    for (const auto& [name, end] : ends) {
        const auto parsed = ParseSimOptions({"--line-end", name});
        ASSERT_TRUE(std::holds_alternative<SimOptions>(parsed)) << name;
        EXPECT_EQ(std::get<SimOptions>(parsed).line_end, end) << name;
    }
}

}  // namespace
}  // namespace velmo::sim
