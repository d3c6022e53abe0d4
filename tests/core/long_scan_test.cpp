// SPDX-FileCopyrightText: 2026 The Velmo developers
// SPDX-License-Identifier: GPL-3.0-or-later

// A week of scanning unattended, in virtual time: a band with busy channels
// scanned over the 9600-baud wire timing for seven days of the panel's
// clock, with the faults of a real link sprinkled through it. At the end
// the panel must scan as it did in its first hour: the same pace, every
// busy channel held on itself, the answer book as small, and nothing grown
// past its bound.
#include <gtest/gtest.h>

#include <cstdint>
#include <set>
#include <string>

#include "core_rigs.h"

namespace velmo::testing {
namespace {

using std::chrono::milliseconds;

#ifdef VELMO_SANITIZED_BUILD
// The sanitizers make every step many times slower: there a day is scanned,
// in which each kind of fault still comes round four times.
constexpr int kHours = 24;
#else
constexpr int kHours = 7 * 24;
#endif
constexpr double kHourMs = 3'600'000;
constexpr double kHoldMs = 6'000;

// Busy channels on the scanner's 100 KHz grid from 81.3 MHz, spread over
// the range as a band's stations are.
const std::set<std::int64_t> kBusy{81'600'000,  88'100'000,  101'200'000, 145'500'000,
                                   300'000'000, 446'000'000, 700'000'000, 1'200'000'000};

// What one hour of the scan sent, read from the receiver's side.
struct Hour {
    int steps = 0;
    int holds = 0;
    int held_off_channel = 0;  // holds on a channel that is not busy
    int busy_tuned = 0;
    // Steps a second while stepping, the holds left out.
    double Pace() const { return steps / ((kHourMs - holds * kHoldMs) / 1000); }
};

Hour Tally(const std::vector<std::string>& lines) {
    Hour hour;
    std::int64_t tuned = 0;
    for (const std::string& line : lines) {
        if (line.starts_with("K0")) {
            tuned = std::stoll(line.substr(2, 10));
            ++hour.steps;
            hour.busy_tuned += kBusy.count(tuned) > 0;
        } else if (line == "I1?") {
            ++hour.holds;
            hour.held_off_channel += kBusy.count(tuned) == 0;
        }
    }
    return hour;
}

// The faults of hour `h`: a sixth of the hours are clean, the others each
// bring one kind. The first and the last hour are clean, to compare.
struct FaultyHours {
    int hour = 0;
    int answers = 0;  // answers sent so far, to pick every n-th
    bool silent = false;

    std::string operator()(const std::string& line, std::int64_t tuned_hz, std::string answer) {
        (void)tuned_hz;
        ++answers;
        if (hour == 0 || hour == kHours - 1) return answer;
        switch (hour % 6) {
            case 1:  // squelch answers lost
                return line == "I0?" && answers % 29 == 0 ? std::string() : answer;
            case 2:  // answers doubled
                return answers % 31 == 0 ? answer + answer : answer;
            case 4:  // the receiver silent for ten minutes
                return silent ? std::string() : answer;
            case 5:  // squelch answers garbled, and an open squelch unasked
                if (line == "I0?" && answers % 23 == 0) return "X0#7\r\n";
                return answers % 401 == 0 ? answer + "I007\r\n" : answer;
            default: return answer;
        }
    }
};

TEST(LongScan, AWeekWithFaultsEndsAsItsFirstHour) {
    Scanning rig;
    rig.band->busy = kBusy;
    auto faults = std::make_shared<FaultyHours>();
    rig.band->fault = [faults](const std::string& line, std::int64_t hz, std::string answer) {
        return (*faults)(line, hz, std::move(answer));
    };
    rig.panel.ToggleScan();
    const double start = rig.NowMs();
    Hour first, last;
    std::size_t first_wait_us = 0;
    std::uint64_t heard = 0;
    long long steps = 0;
    for (int h = 0; h < kHours; ++h) {
        faults->hour = h;
        const double hour_start = start + h * kHourMs;
        if (h % 6 == 3 && h != kHours - 1) {
            // The link slows to a 250 ms round trip for half an hour, then
            // is a cable again.
            rig.link.reply_delay_us = 250'000;
            rig.clock.RunUntilMs(hour_start + kHourMs / 2);
            rig.link.reply_delay_us = 3000;
        } else if (h % 6 == 4) {
            rig.clock.RunUntilMs(hour_start + 20 * 60'000);
            faults->silent = true;
            rig.clock.RunUntilMs(hour_start + 30 * 60'000);
            faults->silent = false;
        }
        rig.clock.RunUntilMs(hour_start + kHourMs);
        const Hour hour = Tally(rig.link.lines);
        steps += hour.steps;
        rig.link.lines.clear();
        rig.view.events.clear();

        // Every hour, faults or not: the scanner goes on, and nothing
        // outgrows its bound.
        ASSERT_GT(hour.steps, 20'000) << "hour " << h;
        ASSERT_LE(rig.view.CodesOut().size(), static_cast<std::size_t>(FrontPanel::kMaxListEntries)) << "hour " << h;
        ASSERT_LE(rig.view.CodesIn().size(), static_cast<std::size_t>(FrontPanel::kMaxListEntries)) << "hour " << h;
        ASSERT_EQ(rig.view.top_index[1], static_cast<int>(rig.view.CodesIn().size()) - 1) << "hour " << h;
        ASSERT_GE(rig.panel.Signal, 0);
        ASSERT_LE(rig.panel.Signal, 75);
        ASSERT_LE(rig.panel.Answers().OpenQuestions(), 4u) << "hour " << h;
        ASSERT_LE(rig.panel.Answers().KeptOutcomes(), 2u) << "hour " << h;
        ASSERT_LE(rig.panel.Answers().PendingText(), 4u) << "hour " << h;
        ASSERT_GE(rig.panel.Answers().AnswersHeard(), heard) << "hour " << h;
        heard = rig.panel.Answers().AnswersHeard();
        ASSERT_GE(rig.timer3->ticks(), 0) << "hour " << h;
        ASSERT_TRUE(rig.timer3->Enabled()) << "hour " << h;
        if (h == 0) {
            first = hour;
            first_wait_us = static_cast<std::size_t>(rig.panel.Answers().WaitBound().count());
        }
        if (h == kHours - 1) last = hour;
    }
    // A week of the panel's clock (a step may run past its end), nearly ten
    // million steps (the holds and the slow hours take their share): over
    // 53,500 an hour.
    EXPECT_NEAR(rig.NowMs() - start, kHours * kHourMs, 1000);
    EXPECT_GT(steps, kHours * 53'500LL);

    // The last hour as the first: every busy channel tuned held on itself
    // (a hold may straddle the hour's end), at the same pace, and the book
    // waits as long as it did.
    for (const Hour& hour : {first, last}) {
        EXPECT_EQ(hour.held_off_channel, 0);
        EXPECT_NEAR(hour.holds, hour.busy_tuned, 1);
        EXPECT_GT(hour.holds, 0);
    }
    EXPECT_NEAR(last.Pace(), first.Pace(), first.Pace() * 0.01);
    EXPECT_EQ(static_cast<std::size_t>(rig.panel.Answers().WaitBound().count()), first_wait_us);
    EXPECT_EQ(rig.view.CodesOut().size(), static_cast<std::size_t>(FrontPanel::kMaxListEntries));
    EXPECT_EQ(rig.view.CodesIn().size(), static_cast<std::size_t>(FrontPanel::kMaxListEntries));
}

}  // namespace
}  // namespace velmo::testing
