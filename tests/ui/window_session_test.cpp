// SPDX-FileCopyrightText: 2026 The Velmo developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Switching on and off through the window, and how the program ends.

#include <gtest/gtest.h>
#include <QAbstractButton>
#include <QApplication>
#include <QLabel>
#include <QTest>
#include <QTimer>
#include <memory>
#include <string>
#include <vector>

#include "fake_link.h"
#include "main_window.h"
#include "reply_list.h"
#include "switch_on_commands.h"
#include "window_driver.h"
#include "window_test_support.h"

namespace velmo {
namespace {

using testing::Control;
using testing::FakeLink;
using testing::kSwitchOnCommands;
using testing::PressKey;
using testing::RunUntilProgramEnds;
using testing::ShowWindow;
using testing::WaitUntil;

std::vector<std::string> Lines(const std::vector<std::string>& commands) {
    std::vector<std::string> lines;
    for (const std::string& command : commands) lines.push_back(command + "\r\n");
    return lines;
}

class WindowSessionTest : public ::testing::Test {
protected:
    FakeLink link;
    std::vector<std::string> reports;
    std::unique_ptr<MainWindow> window = std::make_unique<MainWindow>(
        link, 2, [this](const std::exception& error) { reports.emplace_back(error.what()); });

    QAbstractButton* Button(const char* name) { return Control<QAbstractButton>(*window, name); }
    QColor Background(const char* label) { return Control<QLabel>(*window, label)->palette().color(QPalette::Window); }
};

TEST_F(WindowSessionTest, SwitchingOnSendsEverySettingAndListsIt) {
    link.responder = [](const std::string& line) { return line == "H101" || line == "G300" ? "G000\r\n" : ""; };
    Button("RadioOn")->click();

    EXPECT_EQ(link.configured_port, 2);
    EXPECT_EQ(link.writes, Lines(kSwitchOnCommands));
    const WindowDriver user(*window);
    EXPECT_EQ(user.CodesOut(), kSwitchOnCommands);
    EXPECT_EQ(user.CodesIn(),
              (std::vector<std::string>{testing::AcknowledgementEntry("G000"), testing::AcknowledgementEntry("G000")}));
    EXPECT_EQ(Background("OnOffLabel"), QColor(0, 255, 0));

    // A second request changes nothing.
    Button("RadioOn")->click();
    EXPECT_EQ(link.opens, 1);
    EXPECT_EQ(link.writes.size(), kSwitchOnCommands.size());
}

TEST_F(WindowSessionTest, SignalPollRunsOnTheWindowsTimerWhileOn) {
    link.responder = [](const std::string& line) {
        return line == "I1?" ? "I180\r\n" : "";  // level 128: a bar of 57, red
    };
    Button("RadioOn")->click();
    auto* bar = Control<QLabel>(*window, "SignalStrength");
    ASSERT_TRUE(WaitUntil([&] { return bar->text() == " " + QString(57, '|'); }));
    EXPECT_EQ(bar->palette().color(QPalette::WindowText), QColor(255, 0, 0));
    EXPECT_NE(std::find(link.writes.begin(), link.writes.end(), "I1?\r\n"), link.writes.end());

    Button("RadioOff")->click();
    EXPECT_EQ(link.writes.back(), "H100\r\n");
    EXPECT_EQ(bar->text(), " ");
    EXPECT_EQ(Background("OnOffLabel"), QColor(255, 0, 0));
    EXPECT_FALSE(link.IsOpen());
}

TEST_F(WindowSessionTest, EscapeDuringAPauseEndsWithoutWritingMore) {
    ShowWindow(*window);
    link.on_write = [this](const std::string& line) {
        // Escape arrives while the switch-on command waits for its reply.
        if (line == "H101\r\n") QTimer::singleShot(0, [this] { PressKey(*window, Qt::Key_Escape); });
    };
    const int status = RunUntilProgramEnds([this] { Button("RadioOn")->click(); });

    EXPECT_EQ(status, 0);
    EXPECT_TRUE(window->Ending());
    EXPECT_EQ(link.writes, Lines({"H101"}));
    // The port is left as it is: no switch-off command, no close.
    EXPECT_TRUE(link.IsOpen());
    // Nothing runs any more.
    Button("RadioOff")->click();
    Control<QAbstractButton>(*window, "FrequencyUp")->click();
    EXPECT_EQ(link.writes.size(), 1u);
}

TEST_F(WindowSessionTest, EscapeWhileOnLeavesTheReceiverOn) {
    ShowWindow(*window);
    Button("RadioOn")->click();
    const int status = RunUntilProgramEnds([this] { PressKey(*window, Qt::Key_Escape); });
    EXPECT_EQ(status, 0);
    EXPECT_TRUE(window->Ending());
    EXPECT_EQ(window->ExitStatus(), 0);
    // Nothing after the switch-on: no "H100", and no poll once it has ended.
    EXPECT_EQ(link.writes, Lines(kSwitchOnCommands));
}

TEST_F(WindowSessionTest, ClosingTheWindowEndsLikeEscape) {
    ShowWindow(*window);
    Button("RadioOn")->click();
    const int status = RunUntilProgramEnds([this] { window->close(); });
    EXPECT_EQ(status, 0);
    EXPECT_TRUE(window->Ending());
    EXPECT_EQ(link.writes, Lines(kSwitchOnCommands));
}

TEST_F(WindowSessionTest, PortThatCannotBeOpenedIsReportedAndEndsWithAFailureStatus) {
    link.open_error = "Permission denied";
    const int status = RunUntilProgramEnds([this] { Button("RadioOn")->click(); });

    EXPECT_EQ(status, 1);
    EXPECT_EQ(window->ExitStatus(), 1);
    EXPECT_EQ(reports, std::vector<std::string>{"Permission denied"});
    EXPECT_TRUE(link.writes.empty());
    EXPECT_EQ(Background("OnOffLabel"), QColor(255, 0, 0));
    Button("RadioOn")->click();  // once ending, events do nothing
    EXPECT_EQ(link.opens, 1);
    EXPECT_EQ(reports.size(), 1u);
}

TEST_F(WindowSessionTest, FailedWriteInsideAPauseEndsEveryOperationInProgress) {
    link.failing_write = 2;  // the first level command, inside the switch-on sequence
    const int status = RunUntilProgramEnds([this] { Button("RadioOn")->click(); });

    EXPECT_EQ(status, 1);
    EXPECT_EQ(reports, std::vector<std::string>{"write failed: Input/output error"});
    EXPECT_EQ(link.writes, Lines({"H101", "G300"}));
    // The switch-on did not go on to its end: the poll never started.
    EXPECT_EQ(Background("OnOffLabel"), QColor(255, 0, 0));
}

TEST_F(WindowSessionTest, FailureInATimerTickIsReportedOnce) {
    Button("RadioOn")->click();
    link.failing_write = link.writes.size();  // the next write: the signal poll's query
    const int status = RunUntilProgramEnds([] {});
    EXPECT_EQ(status, 1);
    EXPECT_EQ(reports.size(), 1u);
}

}  // namespace
}  // namespace velmo
