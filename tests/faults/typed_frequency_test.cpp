// SPDX-FileCopyrightText: 2026 The Velmo developers
// SPDX-License-Identifier: GPL-3.0-or-later

// What the user types in the frequency box: only a number within 0.1 to
// 1300 MHz tunes the receiver; anything else brings the box back (or, empty
// or cancelled, closes it) and sends nothing.
#include <gtest/gtest.h>

#include <QApplication>
#include <QInputDialog>
#include <QScrollBar>
#include <algorithm>
#include <optional>

#include "panel_on_port.h"
#include "pty_receiver.h"
#include "switch_on_commands.h"
#include "wait.h"

namespace velmo::faults {
namespace {

using namespace velmo::testing;
using namespace std::chrono_literals;

// Runs `scenario` inside the application's own loop, where a modal box can
// run its loop too, whatever an earlier test in this process ended.
void RunInEventLoop(const std::function<void()>& scenario) {
    QTimer::singleShot(0, [&] {
        scenario();
        QCoreApplication::exit(0);
    });
    QApplication::exec();
}

struct Typed {
    const char* name;
    std::optional<std::string> text;  // none: Cancel
    int boxes_shown;
    std::string tuning_command;  // empty: nothing is sent
    std::string display;
};

void PrintTo(const Typed& t, std::ostream* out) { *out << t.name; }

class TypedFrequency : public ::testing::TestWithParam<Typed> {};

TEST_P(TypedFrequency, OnlyNumbersInRangeTune) {
    const Typed& typed = GetParam();
    PtyReceiver receiver(ReceiverAnswers());
    PanelOnPort panel(receiver.Path());
    panel.user.Click("RadioOn");
    ASSERT_TRUE(WaitUntil([&] { return receiver.Lines().size() >= kSwitchOnCommands.size(); }));
    const std::size_t before = receiver.Lines().size();

    // The frequency box is answered each time it comes up: the first time
    // with what the user typed (Cancel when nothing), every later time
    // with Cancel. The text each one offered is kept.
    std::vector<std::string> offered;
    QObject answering;
    AnswerInputBoxes(
        [&](QInputDialog& box) {
            offered.push_back(box.textValue().toStdString());
            if (offered.size() == 1 && typed.text) {
                box.setTextValue(QString::fromStdString(*typed.text));
                box.accept();
            } else {
                box.reject();
            }
            return true;
        },
        &answering);
    RunInEventLoop([&] { panel.user.Click("Direct"); });
    // A volume change after the box marks the end of what the box sent.
    panel.Find<QScrollBar>("Volume")->setValue(99);
    ASSERT_TRUE(WaitUntil([&] {
        const auto lines = receiver.Lines();
        return std::find(lines.begin() + static_cast<std::ptrdiff_t>(before), lines.end(), "J4063") != lines.end();
    }));

    std::vector<std::string> tuned;
    const auto lines = receiver.Lines();
    for (auto line = lines.begin() + static_cast<std::ptrdiff_t>(before); *line != "J4063"; ++line) {
        if (line->rfind("K0", 0) == 0) tuned.push_back(*line);
    }
    const std::vector<std::string> expected =
        typed.tuning_command.empty() ? std::vector<std::string>{} : std::vector<std::string>{typed.tuning_command};
    EXPECT_EQ(tuned, expected);
    EXPECT_EQ(panel.user.Display(), typed.display);
    EXPECT_EQ(offered, std::vector<std::string>(static_cast<std::size_t>(typed.boxes_shown), "81.3"))
        << "a rejected entry brings the box back with the frequency, not the entry";
    EXPECT_TRUE(panel.messages.empty());
}

const std::string kUnchanged = "81.300.000";

INSTANTIATE_TEST_SUITE_P(
    Entry, TypedFrequency,
    ::testing::Values(Typed{"Empty", "", 1, "", kUnchanged}, Typed{"Cancel", std::nullopt, 1, "", kUnchanged},
                      Typed{"TenThousandDigits", std::string(10000, '9'), 2, "", kUnchanged},
                      Typed{"NumberThenTenThousandCharacters", "145.5" + std::string(9995, 'x'), 1,
                            "K00145500000060400", "145.500.000"},
                      Typed{"NaN", "nan", 2, "", kUnchanged}, Typed{"Infinity", "inf", 2, "", kUnchanged},
                      Typed{"TooLargeForADouble", "1e309", 2, "", kUnchanged},
                      Typed{"NegativeZero", "-0", 2, "", kUnchanged}, Typed{"Hexadecimal", "0x10", 2, "", kUnchanged},
                      Typed{"BlanksOnly", "   ", 2, "", kUnchanged},
                      Typed{"Exponent", "1e2", 1, "K00100000000060400", "100.000.000"},
                      Typed{"Lowest", "0.1", 1, "K00000100000060400", "0.100.000"},
                      Typed{"Highest", "1300", 1, "K01300000000060400", "1300.000.000"},
                      Typed{"JustAboveTheHighest", "1300.001", 2, "", kUnchanged}),
    [](const auto& param_info) { return std::string(param_info.param.name); });

}  // namespace
}  // namespace velmo::faults
