// SPDX-FileCopyrightText: 2026 The Velmo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include <gtest/gtest.h>

#include <random>

#include "fake_view.h"
#include "replies.h"
#include "reply_list.h"

namespace velmo {
namespace {

using Entries = std::vector<std::string>;
using testing::AcknowledgementEntry;
using testing::SignalEntry;
using testing::SquelchEntry;

struct RepliesCase {
    const char* name;
    std::string reply;
    Entries entries;
};

void PrintTo(const RepliesCase& c, std::ostream* os) { *os << c.name; }

class ReplyEntriesTable : public ::testing::TestWithParam<RepliesCase> {};

TEST_P(ReplyEntriesTable, CutsAndMarks) { EXPECT_EQ(ReplyEntries(GetParam().reply), GetParam().entries); }

INSTANTIATE_TEST_SUITE_P(
    Replies, ReplyEntriesTable,
    ::testing::Values(
        RepliesCase{"acknowledgement", "G000\r\n", {AcknowledgementEntry("G000")}},
        RepliesCase{
            "two_lines_in_one_read", "G000\r\nG001\r\n", {AcknowledgementEntry("G000"), AcknowledgementEntry("G001")}},
        RepliesCase{"signal", "I17F\r\n", {SignalEntry("I17F")}},
        RepliesCase{"squelch", "I007\r\n", {SquelchEntry("I007")}},
        RepliesCase{"lower_case_has_no_marker", "g000i17Fi007\r\n", {"g000", "i17F", "i007"}},
        RepliesCase{"unknown_code", "H101\r\n", {"H101"}},
        RepliesCase{"short_last_code", "G000I1\r\n", {AcknowledgementEntry("G000"), SignalEntry("I1")}},
        RepliesCase{"single_character", "X", {"X"}}, RepliesCase{"empty", "", {}},
        RepliesCase{"line_endings_only", "\r\n\r\n\n\r", {}}, RepliesCase{"blanks_only", "    ", {}},
        // Of a blank, a code, CR and LF only the first 6 are examined; the
        // cleaned " G000" counts as 4.
        RepliesCase{"leading_blank", " G000\r\n", {" G00"}},
        RepliesCase{"trailing_blank", "G000\r\n ", {AcknowledgementEntry("G000")}},
        RepliesCase{
            "line_ending_splits_nothing", "G0\r\n00I1\r\n47", {AcknowledgementEntry("G000"), SignalEntry("I147")}},
        RepliesCase{"blank_inside_counts", "G0 0I1", {AcknowledgementEntry("G0 0"), SignalEntry("I1")}},
        // A trailing blank shortens the count of codes, not a code: each
        // code ends only where the text without line endings ends.
        RepliesCase{"blank_ends_the_only_code", "G0 \r\n", {AcknowledgementEntry("G0 ")}},
        RepliesCase{"two_leading_blanks", "  G0ABI1\r\n", {"  G0", "ABI1"}},
        RepliesCase{"blanks_end_the_last_code", "G000I1  \r\n", {AcknowledgementEntry("G000"), SignalEntry("I1  ")}},
        RepliesCase{"blank_between_line_endings", "G000\r\n \r\n", {AcknowledgementEntry("G000")}}),
    [](const auto& test_info) { return std::string(test_info.param.name); });

TEST(ReplyEntries, KeepsArbitraryBytesAsReceived) {
    const std::string bytes{'\0', '\x80', '\xFF', 'A', '\x01', '\r', '\n', 'I', '1'};
    const Entries entries = ReplyEntries(bytes);
    ASSERT_EQ(entries.size(), 2u);
    EXPECT_EQ(entries[0], (std::string{'\0', '\x80', '\xFF', 'A'}));
    EXPECT_EQ(entries[1], (std::string{'\x01', 'I', '1'}));
}

TEST(ReplyEntries, MegabytesOfRandomBytesGiveOneEntryPerFourBytes) {
    std::mt19937 random(7);
    std::string flood(1 << 20, '\0');
    for (auto& c : flood) c = static_cast<char>(random() % 256);
    flood.front() = 'x';  // no blanks at either end, so every byte is examined
    flood.back() = 'y';
    std::size_t kept = 0;
    for (const char c : flood) kept += (c != '\r' && c != '\n');
    const Entries entries = ReplyEntries(flood);
    EXPECT_EQ(entries.size(), (kept + 3) / 4);
}

TEST(ReplyEntries, KeepingOnlyTheNewestGivesTheTailOfTheWholeCut) {
    std::mt19937 random(11);
    const char alphabet[] = {'G', '0', 'I', '1', ' ', '\r', '\n', 'x'};
    for (int round = 0; round < 2000; ++round) {
        std::string text(random() % 40, ' ');
        for (auto& c : text) c = alphabet[random() % sizeof alphabet];
        const Entries whole = ReplyEntries(text);
        for (std::size_t newest : {0u, 1u, 2u, 3u, 7u, 100u}) {
            const std::size_t kept = std::min(newest, whole.size());
            const Entries tail(whole.end() - static_cast<std::ptrdiff_t>(kept), whole.end());
            ASSERT_EQ(ReplyEntries(text, newest), tail) << '"' << text << "\" newest " << newest;
        }
    }
}

TEST(ShowReplies, ListsEveryEntryAndKeepsTheNewestInView) {
    testing::Rig rig;
    rig.panel.ShowReplies("G000\r\nI14A\r\n");
    EXPECT_EQ(rig.view.CodesIn(), (std::deque<std::string>{AcknowledgementEntry("G000"), SignalEntry("I14A")}));
    EXPECT_EQ(rig.view.top_index[1], 1);
}

TEST(ShowReplies, AFloodLeavesOnlyTheNewestEntries) {
    testing::Rig rig;
    std::string flood;
    for (int i = 0; i < 30'000; ++i) flood += "I1" + std::string(1, static_cast<char>('0' + i % 10)) + "0";
    flood += "LAST";
    rig.panel.ShowReplies(flood);
    ASSERT_EQ(rig.view.ListCount(CodeList::CodesIn), FrontPanel::kMaxListEntries);
    EXPECT_EQ(rig.view.CodesIn().back(), "LAST");
    EXPECT_EQ(rig.view.CodesIn().front(), SignalEntry("I110"));  // the 25,002nd of 30,001
    EXPECT_EQ(rig.view.top_index[1], FrontPanel::kMaxListEntries - 1);
}

}  // namespace
}  // namespace velmo
