// SPDX-FileCopyrightText: 2026 The Velmo developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The adapter is pulled out while the receiver is on: the user is told
// within one signal poll, and the program ends without hanging, crashing or
// spinning.
#include <gtest/gtest.h>

#include <algorithm>
#include <iostream>
#include <optional>

#include "panel_numbers.h"
#include "panel_on_port.h"
#include "process_measures.h"
#include "pty_receiver.h"
#include "wait.h"

namespace velmo::faults {
namespace {

using namespace velmo::testing;
using namespace std::chrono_literals;

constexpr qint64 kPollPeriodMs = panel_numbers::kSignalPollMs;
constexpr qint64 kMarginMs = 300;

bool Contains(const std::vector<std::string>& lines, const std::string& line) {
    return std::find(lines.begin(), lines.end(), line) != lines.end();
}

struct UnplugCase {
    const char* name;
    std::string squelch;  // "07" makes the scanner hold on the first step
    bool scan;
    // When to pull the adapter, judged from what the receiver has heard.
    std::function<bool(const PtyReceiver&)> ready;
};

void PrintTo(const UnplugCase& c, std::ostream* out) { *out << c.name; }

class Unplugged : public ::testing::TestWithParam<UnplugCase> {};

TEST_P(Unplugged, TheUserIsToldWithinOnePollAndTheProgramEnds) {
    const UnplugCase& c = GetParam();
    PtyReceiver receiver(ReceiverAnswers("80", c.squelch));
    PanelOnPort panel(receiver.Path());
    panel.user.Click("RadioOn");
    ASSERT_TRUE(WaitUntil([&] { return Contains(receiver.Lines(), "I1?"); })) << "the signal poll runs";
    if (c.scan) panel.user.Click("Scan");

    // Pulled from a timer: during the hold the test's own code is not
    // running, the hold is (inside the test's event processing).
    std::optional<qint64> unplugged_at;
    std::optional<double> cpu_at_unplug, cpu_second_later;
    WhenThen unplug([&] { return c.ready(receiver); },
                    [&] {
                        receiver.Unplug();
                        unplugged_at = panel.clock.elapsed();
                        cpu_at_unplug = ProcessCpuSeconds();
                    });
    WhenThen measure([&] { return unplugged_at && panel.clock.elapsed() >= *unplugged_at + 1000; },
                     [&] { cpu_second_later = ProcessCpuSeconds(); });
    ASSERT_TRUE(WaitUntil([&] { return cpu_second_later.has_value(); }, 20s));

    ASSERT_EQ(panel.messages.size(), 1u);
    std::cout << "told after " << panel.reported_at - *unplugged_at << " ms: " << panel.messages.front() << std::endl;
    EXPECT_LE(panel.reported_at - *unplugged_at, kPollPeriodMs + kMarginMs);
    EXPECT_NE(panel.messages.front().find("was lost"), std::string::npos);
    EXPECT_NE(panel.messages.front().find(receiver.Path()), std::string::npos);
    EXPECT_TRUE(panel.window.Ending());
    EXPECT_EQ(panel.window.ExitStatus(), 1);

    const double cpu_ms = (*cpu_second_later - *cpu_at_unplug) * 1e3;
    std::cout << "CPU in the second after: " << cpu_ms << " ms" << std::endl;
    EXPECT_LT(cpu_ms, 50) << "under 5% of the second after the unplug";
}

// Inside the hold: the scanner has read the signal on the busy channel and
// nothing has been heard for 200 ms since.
bool Holding(const PtyReceiver& receiver) {
    const auto lines = receiver.Received();
    bool squelch_asked = false;
    for (const auto& line : lines) {
        if (line.text == "I0?") squelch_asked = true;
        if (squelch_asked && line.text == "I1?") {
            return PtyReceiver::Clock::now() - lines.back().at > std::chrono::milliseconds(200);
        }
    }
    return false;
}

INSTANTIATE_TEST_SUITE_P(While, Unplugged,
                         ::testing::Values(UnplugCase{"Idle", "04", false, [](const PtyReceiver&) { return true; }},
                                           UnplugCase{"Scanning", "04", true,
                                                      [](const PtyReceiver& r) {
                                                          const auto lines = r.Lines();
                                                          return std::count(lines.begin(), lines.end(), "I0?") >= 3;
                                                      }},
                                           UnplugCase{"Holding", "07", true, Holding}),
                         [](const auto& param_info) { return std::string(param_info.param.name); });

}  // namespace
}  // namespace velmo::faults
