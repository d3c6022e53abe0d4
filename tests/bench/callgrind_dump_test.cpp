// SPDX-FileCopyrightText: 2026 The Velmo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "callgrind_dump.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <sstream>

#include "temp_folder.h"

namespace velmo::bench {
namespace {

// The head and tail of a dump as callgrind 3.19 writes one, cost lines
// left out but for one, which must not be taken for the totals.
std::string Dump(const std::string& trigger, const std::string& events, const std::string& summary,
                 const std::string& totals) {
    std::string text = "# callgrind format\nversion: 1\ncreator: callgrind-3.19.0\npid: 4242\n";
    text += "cmd:  ./velmo-bench --scan-insn-child /dev/pts/3 200\npart: 2\n\n";
    text += "desc: I1 cache: \ndesc: D1 cache: \ndesc: LL cache: \n\n";
    if (!trigger.empty()) text += "desc: Trigger: " + trigger + "\n\n";
    text += "positions: line\nevents: " + events + "\n";
    if (!summary.empty()) text += "summary: " + summary + "\n";
    text += "\n\nob=(1) /usr/lib/x86_64-linux-gnu/libc.so.6\nfl=(1) ???\nfn=(1) malloc\n0 77\n";
    if (!totals.empty()) text += "\ntotals: " + totals + "\n";
    return text;
}

std::optional<CallgrindDump> Read(const std::string& text) {
    std::istringstream in(text);
    return ReadCallgrindDump(in);
}

struct Readable {
    const char* what;
    std::string text;
    std::string trigger;
    std::int64_t instructions;
};

class ReadsADump : public ::testing::TestWithParam<Readable> {};

TEST_P(ReadsADump, TakesItsTriggerAndInstructions) {
    const auto dump = Read(GetParam().text);
    ASSERT_TRUE(dump.has_value());
    EXPECT_EQ(dump->trigger, GetParam().trigger);
    EXPECT_EQ(dump->instructions, GetParam().instructions);
}

INSTANTIATE_TEST_SUITE_P(
    CallgrindDump, ReadsADump,
    ::testing::Values(Readable{"ClientRequest", Dump("Client Request: full", "Ir", "287831574", "287831574"), "full",
                               287831574},
                      Readable{"ProgramEnd", Dump("Program termination", "Ir", "0", "0"), "Program termination", 0},
                      // The totals close the file and win over the head's summary.
                      Readable{"TotalsOverSummary", Dump("Client Request: a", "Ir", "5", "9"), "a", 9},
                      Readable{"SummaryAlone", Dump("Client Request: a", "Ir", "5", ""), "a", 5},
                      // Ir is found wherever it stands among the events.
                      Readable{"IrSecond", Dump("Client Request: b", "Dr Ir Dw", "", "100 2000 30"), "b", 2000},
                      Readable{"NoTrigger", Dump("", "Ir", "12", "12"), "", 12}),
    [](const auto& p) { return std::string(p.param.what); });

struct Unreadable {
    const char* what;
    std::string text;
};

class RefusesADump : public ::testing::TestWithParam<Unreadable> {};

TEST_P(RefusesADump, SaysItCountsNothing) { EXPECT_FALSE(Read(GetParam().text).has_value()); }

INSTANTIATE_TEST_SUITE_P(CallgrindDump, RefusesADump,
                         ::testing::Values(Unreadable{"Empty", ""},
                                           Unreadable{"NoIrEvent", Dump("Client Request: a", "Dr Dw", "1 2", "1 2")},
                                           Unreadable{"NoCounts", Dump("Client Request: a", "Ir", "", "")},
                                           Unreadable{"CountsShort", Dump("Client Request: a", "Dr Ir", "7", "7")},
                                           Unreadable{"NotANumber", Dump("Client Request: a", "Ir", "12x", "12x")},
                                           Unreadable{"Negative", Dump("Client Request: a", "Ir", "-3", "-3")},
                                           Unreadable{"TooLarge",
                                                      Dump("Client Request: a", "Ir", "99999999999999999999",
                                                           "99999999999999999999")}),
                         [](const auto& p) { return std::string(p.param.what); });

TEST(CallgrindDumps, ReadsEveryProfileOfTheFolderAndNothingElse) {
    testing::TempFolder folder;
    ASSERT_FALSE(folder.Path().empty());
    const auto write = [&](const std::string& name, const std::string& text) { std::ofstream(folder / name) << text; };
    write("callgrind.out", Dump("Program termination", "Ir", "3", "3"));
    write("callgrind.out.1", Dump("Client Request: filling_start", "Ir", "483299664", "483299664"));
    write("callgrind.out.2", "not a profile\n");
    write("notes.txt", Dump("Client Request: stray", "Ir", "1", "1"));

    std::vector<CallgrindDump> dumps = ReadCallgrindDumps(folder.Path());
    std::sort(dumps.begin(), dumps.end(), [](const auto& a, const auto& b) { return a.trigger < b.trigger; });
    ASSERT_EQ(dumps.size(), 2u);
    EXPECT_EQ(dumps[0].trigger, "Program termination");
    EXPECT_EQ(dumps[0].instructions, 3);
    EXPECT_EQ(dumps[1].trigger, "filling_start");
    EXPECT_EQ(dumps[1].instructions, 483299664);
}

TEST(CallgrindDumps, AFolderThatIsNotThereHasNone) {
    EXPECT_TRUE(ReadCallgrindDumps("/nonexistent/velmo-callgrind").empty());
}

}  // namespace
}  // namespace velmo::bench
