// SPDX-FileCopyrightText: 2026 The Velmo developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The simulated receiver as a second judge of the panel: it answers "G001" to
// any line it cannot read, and it can repeat the last character of its
// answers as some units do. Real window, real serial port, real time.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QComboBox>
#include <QScrollBar>
#include <algorithm>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "panel_on_sim.h"
#include "reply_list.h"
#include "scan_checks.h"
#include "sim/receiver_switches.h"
#include "switch_on_commands.h"
#include "window_test_support.h"

namespace velmo::e2e {
namespace {

using namespace std::chrono_literals;
using Lines = std::vector<std::string>;

// Lets the last answers come in and be read.
void Settle() { testing::LetRun(400ms); }

long Count(const Lines& lines, const std::string& line) { return std::count(lines.begin(), lines.end(), line); }

bool AnyStartsWith(const Lines& lines, std::string_view prefix) {
    return std::any_of(lines.begin(), lines.end(), [&](const std::string& l) { return l.starts_with(prefix); });
}

// The codes of the list without their markers, run together: what the
// panel read, as the lists show it.
std::string ListedText(const Lines& entries) {
    std::string text;
    for (const auto& entry : entries) text += testing::WithoutMarker(entry);
    return text;
}

std::string Joined(const Lines& lines) {
    std::string text;
    for (const auto& line : lines) text += line;
    return text;
}

// Whether, once everything the receiver sent so far has been read, the
// lists show exactly that. The signal poll goes on, so an answer may be on
// its way at any moment; the lists catch up within a poll.
::testing::AssertionResult ListsShowWhatCame(const PanelOnSim& panel) {
    std::string listed, sent;
    if (WaitUntil(
            [&] {
                listed = ListedText(panel.user.CodesIn());
                sent = Joined(panel.sim.Answers());
                return listed == sent;
            },
            3s)) {
        return ::testing::AssertionSuccess();
    }
    return ::testing::AssertionFailure() << "listed \"" << listed << "\"\n  sent \"" << sent << '"';
}

// Every control and every key, worked once. The receiver judges every byte
// the panel wrote, apart from the code that wrote it.
TEST(ReceiverChecks, ASessionThroughEveryControlAndKeyDrawsNoRejection) {
    PanelOnSim panel;
    auto& user = panel.user;
    const auto click = [&](const char* name) { testing::Control<QAbstractButton>(panel.window, name)->click(); };
    SwitchOn(panel);

    // Levels: the ends, and values whose digits are letters.
    for (const char* bar : {"Volume", "Squelch", "IfShift"}) {
        for (const int value : {0, 255, 10, 171, 128}) testing::Control<QScrollBar>(panel.window, bar)->setValue(value);
    }
    for (const char* button : {"AM", "FM", "USB", "LSB", "CW", "WFM", "Filter1", "Filter2", "Filter3", "Filter4"}) {
        click(button);
    }
    click("Filter5");
    for (const SwitchControl& box : kSwitchControls) {
        click(box.name);
        click(box.name);
    }
    // Every tuning step, up and down, and a step text of the user's own.
    auto* steps = testing::Control<QComboBox>(panel.window, "TuningStep");
    for (int i = 0; i < steps->count(); ++i) {
        steps->setCurrentIndex(i);
        user.Click("FrequencyUp");
        user.Click("FrequencyDown");
    }
    steps->setEditText("7 KHz");
    user.Click("FrequencyUp");
    steps->setCurrentIndex(steps->findText("100 KHz"));
    // Typed frequencies: the ends, more digits than the receiver takes,
    // blanks around.
    for (const char* typed : {"0.1", "1300", "145.5125", "12.3456789", " 88.1 "}) {
        AnswerInputBox(QString::fromLatin1(typed));
        user.Click("Direct");
    }
    // Every key of the table.
    for (const int key : {Qt::Key_PageUp, Qt::Key_U, Qt::Key_PageDown, Qt::Key_D, Qt::Key_Home, Qt::Key_End,
                          Qt::Key_Pause, Qt::Key_Insert}) {
        user.Key(key);
    }
    user.EnterFrequency("101.2");
    // The scanner by key and by button, from the top of the range, which
    // wraps to the bottom, where no station holds it.
    for (const auto& toggle : {std::function<void()>([&] { user.Key(Qt::Key_Shift); }),
                               std::function<void()>([&] { user.Click("Scan"); })}) {
        user.Key(Qt::Key_End);
        const auto tunings = panel.TuningCommands().size();
        toggle();
        EXPECT_TRUE(WaitUntil([&] { return panel.TuningCommands().size() >= tunings + 4; }, 3s));
        toggle();
    }
    // Off and on by button and by key, each also where it does nothing.
    user.Click("RadioOff");
    user.Click("RadioOff");
    user.Click("RadioOn");
    user.Key(Qt::Key_Delete);
    user.Key(Qt::Key_Delete);
    user.Key(Qt::Key_Insert);
    Settle();

    const Lines received = panel.sim.Lines();
    const Lines answered = panel.sim.Answers();
    EXPECT_EQ(Count(answered, "G001"), 0) << "a line the receiver could not read";
    const Lines in = user.CodesIn();
    EXPECT_EQ(Count(in, testing::AcknowledgementEntry("G001")), 0);
    // The session sent every kind of command the panel has.
    for (const char* prefix : {"H101", "H100", "G300", "J40", "J41", "J43", "I0?", "I1?"}) {
        EXPECT_TRUE(AnyStartsWith(received, prefix)) << prefix;
    }
    // Each switch the receiver knows, off and on.
    for (const sim::SwitchRow& row : sim::kReceiverSwitches) {
        for (const char* state : {"00", "01"}) {
            const std::string command = std::string(row.head) + state;
            EXPECT_TRUE(AnyStartsWith(received, command)) << command;
        }
    }
    for (const char* level : {"J4000", "J40FF", "J410A", "J43AB"}) EXPECT_GT(Count(received, level), 0) << level;
    std::vector<std::string> modes, filters;
    for (const auto& line : panel.TuningCommands()) {
        modes.push_back(line.substr(12, 2));
        filters.push_back(line.substr(14, 2));
    }
    for (const char* mode : {"00", "01", "02", "03", "05", "06"}) EXPECT_GT(Count(modes, mode), 0) << "mode " << mode;
    for (const char* filter : {"00", "01", "02", "03", "04"})
        EXPECT_GT(Count(filters, filter), 0) << "filter " << filter;
    EXPECT_GT(panel.TuningCommands().size(), 60u);
    EXPECT_TRUE(panel.failures.empty());

    // The judge is awake: a line it cannot read is rejected.
    panel.port.link.Write("J40zz\r\n");
    EXPECT_TRUE(WaitUntil([&] { return Count(panel.sim.Answers(), "G001") == 1; }, 3s));

    user.Key(Qt::Key_Escape);
    EXPECT_TRUE(panel.window.Ending());
}

sim::ReceiverOptions DoublingLast(double chance, std::uint64_t seed) {
    sim::ReceiverOptions options;
    options.double_last = chance;
    options.seed = seed;
    return options;
}

// Scanning up from the start-up frequency, the scanner holds on the first
// station, at 82.5 MHz, for its 6 seconds and then goes on: on a cable, and
// with every answer doubled, where the meter still reads and the lists show
// what came.
struct HoldCase {
    const char* name;
    sim::ReceiverOptions options;
    // What this receiver's session shows besides; `sampler` saw the window
    // throughout the scan.
    std::function<void(const PanelOnSim& panel, const testing::Sampler& sampler)> also;
};

void PrintTo(const HoldCase& c, std::ostream* out) { *out << c.name; }

class FirstStation : public ::testing::TestWithParam<HoldCase> {};

TEST_P(FirstStation, TheScannerHoldsForSixSecondsThenGoesOn) {
    PanelOnSim panel(GetParam().options);
    SwitchOn(panel);
    // 81.3 MHz carries a strong station.
    EXPECT_TRUE(WaitUntil([&] { return BarLength(panel.user.SignalBar()) > 50; }, 3s)) << panel.user.SignalBar();
    testing::Sampler sampler(panel.user);

    ASSERT_NO_FATAL_FAILURE(testing::ScanPastTheStationAt82_5(panel.user));

    const Lines tunings = panel.TuningCommands();
    EXPECT_GT(Count(tunings, "K00082400000060400"), 0) << "the channel below the station";
    GetParam().also(panel, sampler);
    EXPECT_TRUE(panel.failures.empty());
}

// On a cable: the bar shows the station during the hold, and the list shows
// the squelch open.
void TheBarAndTheListShowTheStation(const PanelOnSim& panel, const testing::Sampler& sampler) {
    const auto hold = sampler.FirstStayAt("82.500.000");
    ASSERT_TRUE(hold);
    int longest_bar = 0;
    for (const auto& s : sampler.samples) {
        if (s.at_ms >= hold->arrived_ms && s.at_ms < hold->left_ms)
            longest_bar = std::max(longest_bar, BarLength(s.bar));
    }
    EXPECT_GT(longest_bar, 50) << "the bar shows the station during the hold";
    EXPECT_GT(Count(panel.user.CodesIn(), testing::SquelchEntry("I007")), 0);
}

// Every answer doubled: the lists show exactly what came.
void TheListsShowEveryAnswerDoubled(const PanelOnSim& panel, const testing::Sampler&) {
    EXPECT_TRUE(ListsShowWhatCame(panel));
    const Lines answered = panel.sim.Answers();
    EXPECT_GT(Count(answered, "I0077"), 0);
    EXPECT_EQ(Count(answered, "G000"), 0) << "every answer doubled";
}

INSTANTIATE_TEST_SUITE_P(Receivers, FirstStation,
                         ::testing::Values(HoldCase{"Cable", {}, TheBarAndTheListShowTheStation},
                                           HoldCase{"EveryAnswerDoubled", DoublingLast(1.0, 1),
                                                    TheListsShowEveryAnswerDoubled}),
                         [](const auto& each) { return std::string(each.param.name); });

// A quarter of the answers doubled, by a fixed seed: the meter reads, and
// the lists show exactly what came, doubled characters and all.
TEST(DoubledLast, SomeAnswersDoubledTheListsShowWhatCame) {
    PanelOnSim panel(DoublingLast(0.25, 7));
    SwitchOn(panel);
    for (int i = 0; i < 6; ++i) panel.user.Click(i % 2 ? "FrequencyDown" : "FrequencyUp");
    EXPECT_TRUE(WaitUntil([&] { return BarLength(panel.user.SignalBar()) > 50; }, 3s)) << panel.user.SignalBar();
    EXPECT_TRUE(ListsShowWhatCame(panel));
    const Lines answered = panel.sim.Answers();
    EXPECT_GT(Count(answered, "G0000"), 0) << "some answers doubled";
    EXPECT_GT(Count(answered, "G000"), 0) << "some not";
    EXPECT_TRUE(panel.failures.empty());
}

// A receiver whose answers end in CR LF, CR, LF or nothing at all: switching
// on, a tuning step, the signal bar and a hold on the first station work
// alike, and every entry of the lists is a whole code behind its marker.
class LineEnds : public ::testing::TestWithParam<sim::LineEnd> {};

TEST_P(LineEnds, TheSessionWorksAndTheListsAreWhole) {
    sim::ReceiverOptions options;
    options.line_end = GetParam();
    PanelOnSim panel(options);
    SwitchOn(panel);
    // 81.3 MHz carries a strong station.
    EXPECT_TRUE(WaitUntil([&] { return BarLength(panel.user.SignalBar()) > 50; }, 3s)) << panel.user.SignalBar();
    panel.user.Click("FrequencyUp");
    EXPECT_TRUE(WaitUntil([&] { return panel.sim.Lines().back() == "K00081400000060400"; }, 3s));
    EXPECT_EQ(panel.user.Display(), "81.400.000");

    ASSERT_NO_FATAL_FAILURE(testing::ScanPastTheStationAt82_5(panel.user));

    EXPECT_TRUE(ListsShowWhatCame(panel));
    for (const auto& entry : panel.user.CodesIn()) EXPECT_TRUE(testing::IsWholeEntry(entry)) << entry;
    EXPECT_TRUE(panel.failures.empty());
}

const sim::LineEnd kEveryEnding[] = {sim::LineEnd::CrLf, sim::LineEnd::Cr, sim::LineEnd::Lf, sim::LineEnd::None};

std::string EndingName(sim::LineEnd ending) {
    const char* const names[] = {"CrLf", "Cr", "Lf", "None"};
    return names[static_cast<int>(ending)];
}

INSTANTIATE_TEST_SUITE_P(EveryEnding, LineEnds, ::testing::ValuesIn(kEveryEnding),
                         [](const auto& each) { return EndingName(each.param); });

// The receiver across a slower link: its answers come a round trip after
// each line. Switching on, the signal bar, a hold on the busy channel
// itself and whole lists, as on a cable. The pace the link allows is held
// to exactly in virtual time (tests/core/link_pace_test.cpp); here, in
// real time on a machine that may be loaded, only loosely.
struct Link {
    int round_trip_ms;
    int jitter_ms;
};

class Links : public ::testing::TestWithParam<Link> {};

TEST_P(Links, TheScannerHoldsOnTheBusyChannelItselfAndTheBarFollows) {
    const Link link = GetParam();
    sim::ReceiverOptions options;
    options.latency = std::chrono::milliseconds(link.round_trip_ms);
    options.jitter = std::chrono::milliseconds(link.jitter_ms);
    PanelOnSim panel(options);
    SwitchOn(panel);
    // 81.3 MHz carries a strong station.
    EXPECT_TRUE(WaitUntil([&] { return BarLength(panel.user.SignalBar()) > 50; }, 5s)) << panel.user.SignalBar();

    // Scans up to the station at 82.5 MHz and stops while it holds there.
    const std::size_t from = panel.sim.LineCount();
    panel.user.Click("Scan");
    ASSERT_TRUE(WaitUntil(
        [&] {
            const Lines lines = panel.sim.Lines();
            return std::find(lines.begin() + static_cast<long>(from), lines.end(), "I1?") != lines.end();
        },
        30s))
        << "never held";
    panel.user.Click("Scan");
    const Lines lines = panel.sim.Lines();
    const auto hold = std::find(lines.begin() + static_cast<long>(from), lines.end(), "I1?");
    const auto tuned = std::find_if(std::make_reverse_iterator(hold), lines.rend(),
                                    [](const std::string& l) { return l.starts_with("K0"); });
    ASSERT_NE(tuned, lines.rend());
    EXPECT_EQ(*tuned, "K00082500000060400") << "held on the busy channel itself";
    const auto steps = std::count_if(lines.begin() + static_cast<long>(from), hold,
                                     [](const std::string& l) { return l.starts_with("K0"); });
    EXPECT_EQ(steps, 12) << "81.4 to 82.5 MHz, no channel twice";

    EXPECT_TRUE(ListsShowWhatCame(panel));
    for (const auto& entry : panel.user.CodesIn()) EXPECT_TRUE(testing::IsWholeEntry(entry)) << entry;
    EXPECT_TRUE(panel.failures.empty());
}

const Link kRoundTrips[] = {Link{0, 0},   Link{20, 0},  Link{50, 0},  Link{100, 0},
                            Link{250, 0}, Link{50, 40}, Link{100, 80}};

std::string LinkName(const Link& link) {
    return std::to_string(link.round_trip_ms) + "ms" +
           (link.jitter_ms ? "Jitter" + std::to_string(link.jitter_ms) + "ms" : std::string());
}

INSTANTIATE_TEST_SUITE_P(RoundTrips, Links, ::testing::ValuesIn(kRoundTrips),
                         [](const auto& each) { return LinkName(each.param); });

// Switching on sends its commands in order, and the first is acknowledged:
// on a cable (the receiver's own ending, CR LF), with every other ending of
// its answers and across every link above.
struct Receiver {
    std::string name;
    sim::ReceiverOptions options;
};

void PrintTo(const Receiver& r, std::ostream* out) { *out << r.name; }

std::vector<Receiver> EveryReceiver() {
    std::vector<Receiver> receivers{{"Cable", {}}};
    for (const sim::LineEnd ending : kEveryEnding) {
        if (ending == sim::ReceiverOptions{}.line_end) continue;
        sim::ReceiverOptions options;
        options.line_end = ending;
        receivers.push_back({"Ending" + EndingName(ending), options});
    }
    for (const Link& link : kRoundTrips) {
        sim::ReceiverOptions options;
        options.latency = std::chrono::milliseconds(link.round_trip_ms);
        options.jitter = std::chrono::milliseconds(link.jitter_ms);
        receivers.push_back({"Link" + LinkName(link), options});
    }
    return receivers;
}

class SwitchingOn : public ::testing::TestWithParam<Receiver> {};

TEST_P(SwitchingOn, SendsItsCommandsInOrder) {
    PanelOnSim panel(GetParam().options);
    SwitchOn(panel);
    EXPECT_EQ(panel.sim.Lines(), testing::kSwitchOnCommands);
    EXPECT_EQ(panel.user.CodesOut(), testing::kSwitchOnCommands);
    ASSERT_TRUE(WaitUntil([&] { return panel.user.CodesIn().size() >= testing::kSwitchOnCommands.size(); }, 5s));
    EXPECT_EQ(panel.user.CodesIn().front(), testing::AcknowledgementEntry("G000"));
    EXPECT_TRUE(panel.failures.empty());
}

INSTANTIATE_TEST_SUITE_P(EveryReceiver, SwitchingOn, ::testing::ValuesIn(EveryReceiver()),
                         [](const auto& each) { return each.param.name; });

}  // namespace
}  // namespace velmo::e2e
