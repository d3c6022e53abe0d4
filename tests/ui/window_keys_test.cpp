// SPDX-FileCopyrightText: 2026 The Velmo developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Every row of the key table, pressed through the real window while a list
// box or the tuning-step box has the focus, or with the tuning-step list
// dropped down: the shortcut acts, and the focused control still gets the
// key.
#include <gtest/gtest.h>
#include <QAbstractButton>
#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QScrollBar>
#include <functional>
#include <memory>
#include <vector>

#include "fake_link.h"
#include "main_window.h"
#include "window_driver.h"
#include "window_test_support.h"

namespace velmo {
namespace {

using testing::Control;

// Counts the key presses that reach a control.
class KeyCounter : public QObject {
public:
    int presses = 0;

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::KeyPress) ++presses;
        return false;
    }
};

struct Panel : testing::WindowOnFakeLink {
    QColor Background(const char* label) const {
        return Control<QLabel>(*window, label)->palette().color(QPalette::Window);
    }
    std::string LastWrite() const { return link.writes.empty() ? "" : link.writes.back(); }
};

struct KeyRow {
    const char* name;
    Qt::Key key;
    bool switched_on;
    std::function<void()> before;  // set up, e.g. answer the input box
    std::function<void(Panel&)> check;
};

class KeyTable : public ::testing::TestWithParam<const char*> {};

TEST_P(KeyTable, EveryRowActsAndTheKeyStillReachesTheFocusedControl) {
    const KeyRow rows[] = {
        {"PageUp", Qt::Key_PageUp, true, {}, [](Panel& p) { EXPECT_EQ(p.Display(), "81.400.000"); }},
        {"U", Qt::Key_U, true, {}, [](Panel& p) { EXPECT_EQ(p.Display(), "81.400.000"); }},
        {"PageDown", Qt::Key_PageDown, true, {}, [](Panel& p) { EXPECT_EQ(p.Display(), "81.200.000"); }},
        {"D", Qt::Key_D, true, {}, [](Panel& p) { EXPECT_EQ(p.Display(), "81.200.000"); }},
        {"Home", Qt::Key_Home, true, {}, [](Panel& p) { EXPECT_EQ(p.LastWrite(), "K00000100000060400\r\n"); }},
        {"End", Qt::Key_End, true, {}, [](Panel& p) { EXPECT_EQ(p.LastWrite(), "K01300000000060400\r\n"); }},
        {"Insert",
         Qt::Key_Insert,
         false,
         {},
         [](Panel& p) {
             EXPECT_TRUE(p.link.IsOpen());
             EXPECT_EQ(p.Background("OnOffLabel"), QColor(0, 255, 0));
         }},
        {"Delete",
         Qt::Key_Delete,
         true,
         {},
         [](Panel& p) {
             EXPECT_FALSE(p.link.IsOpen());
             EXPECT_EQ(p.LastWrite(), "H100\r\n");
         }},
        {"Pause",
         Qt::Key_Pause,
         true,
         {},
         [](Panel& p) {
             EXPECT_EQ(Control<QScrollBar>(*p.window, "Volume")->value(), 0);
             EXPECT_EQ(p.LastWrite(), "J4000\r\n");
         }},
        {"Control", Qt::Key_Control, true, [] { AnswerInputBox("145.5"); },
         [](Panel& p) { EXPECT_EQ(p.Display(), "145.500.000"); }},
        {"Shift", Qt::Key_Shift, true, {}, [](Panel& p) { EXPECT_EQ(p.Background("ScanLabel"), QColor(0, 255, 0)); }},
        {"Escape",
         Qt::Key_Escape,
         true,
         {},
         [](Panel& p) {
             EXPECT_TRUE(p.window->Ending());
             EXPECT_EQ(p.window->ExitStatus(), 0);
             EXPECT_NE(p.LastWrite(), "H100\r\n");
         }},
        {"F5", Qt::Key_F5, true, {}, [](Panel& p) { EXPECT_TRUE(p.link.writes.empty()); }},
    };
    // The dropped-down list is a popup window of its own, which takes the
    // keys while it is open.
    const char* const kDroppedDown = "TuningStep dropped down";
    for (const char* focused : {"CodesIn", "TuningStep", kDroppedDown}) {
        if (std::string(GetParam()) == "F5" && std::string(focused) != "CodesIn") continue;
        for (const auto& row : rows) {
            if (std::string(row.name) != GetParam()) continue;
            SCOPED_TRACE(std::string(row.name) + " with the focus on " + focused);
            Panel panel;
            testing::ShowWindow(*panel.window);
            if (row.switched_on) {
                Control<QAbstractButton>(*panel.window, "RadioOn")->click();
                panel.link.writes.clear();
            }
            const bool dropped_down = focused == kDroppedDown;
            auto* tuning_step = Control<QComboBox>(*panel.window, "TuningStep");
            QWidget* control = dropped_down ? tuning_step : Control<QWidget>(*panel.window, focused);
            control->setFocus();
            // Dropped down, the list takes the keys; Escape closes it before
            // its key press, which then goes to the box.
            std::vector<QWidget*> receivers{control};
            if (dropped_down) {
                tuning_step->showPopup();
                ASSERT_TRUE(tuning_step->view()->isVisible());
                receivers.push_back(tuning_step->view());
            }
            KeyCounter counter;
            for (QWidget* receiver : receivers) receiver->installEventFilter(&counter);
            if (row.before) row.before();
            testing::PressKey(*panel.window, row.key);
            row.check(panel);
            EXPECT_EQ(counter.presses, 1) << "the control got the key too";
            for (QWidget* receiver : receivers) receiver->removeEventFilter(&counter);
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Rows, KeyTable,
                         ::testing::Values("PageUp", "U", "PageDown", "D", "Home", "End", "Insert", "Delete", "Pause",
                                           "Control", "Shift", "Escape", "F5"),
                         [](const auto& param_info) { return std::string(param_info.param); });

}  // namespace
}  // namespace velmo
