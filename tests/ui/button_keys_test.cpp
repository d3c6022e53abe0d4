// SPDX-FileCopyrightText: 2026 The Velmo developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The keys a keyboard user of the panel's original platform expects: Enter
// on a command button, the tuning-step list following its text, and Tab and
// the arrow keys in the option groups.

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QScrollBar>
#include <QTest>
#include <algorithm>
#include <memory>
#include <string>

#include "code_list_box.h"
#include "fake_link.h"
#include "main_window.h"
#include "window_test_support.h"

namespace velmo {
namespace {

using testing::Control;
using testing::PressKey;
using testing::ShowWindow;

class ButtonKeysTest : public ::testing::Test, public testing::WindowOnFakeLink {
protected:
    void SetUp() override { ShowWindow(*window); }

    QString Focused() { return QApplication::focusWidget() ? QApplication::focusWidget()->objectName() : QString(); }
    QComboBox* StepBox() { return Control<QComboBox>(*window, "TuningStep"); }
    // The tuning commands written, receiver on.
    std::vector<std::string> Tunings() const {
        std::vector<std::string> out;
        for (const auto& line : link.lines) {
            if (line.starts_with("K0")) out.push_back(line);
        }
        return out;
    }
};

TEST_F(ButtonKeysTest, EnterKeypadEnterAndSpaceClickTheFocusedCommandButton) {
    struct Press {
        Qt::Key key;
        Qt::KeyboardModifiers modifiers;
        const char* display;
    };
    const Press presses[] = {{Qt::Key_Return, Qt::NoModifier, "81.400.000"},
                             {Qt::Key_Enter, Qt::KeypadModifier, "81.500.000"},
                             {Qt::Key_Space, Qt::NoModifier, "81.600.000"},
                             // Not plain Enter: nothing.
                             {Qt::Key_Return, Qt::AltModifier, "81.600.000"}};
    Control<QAbstractButton>(*window, "FrequencyUp")->setFocus();
    for (const auto& press : presses) {
        PressKey(*window, press.key, press.modifiers);
        EXPECT_EQ(Display(), press.display) << press.key << ' ' << press.modifiers;
        EXPECT_EQ(Focused(), "FrequencyUp");
    }
    // Held down, it clicks once.
    QWindow* handle = window->windowHandle();
    for (const bool repeat : {false, true, true}) {
        QTest::simulateEvent(handle, true, Qt::Key_Return, Qt::NoModifier, QString(), repeat);
    }
    QTest::simulateEvent(handle, false, Qt::Key_Return, Qt::NoModifier, QString(), false);
    EXPECT_EQ(Display(), "81.700.000");

    // ON by Enter opens the port; Enter elsewhere clicks no button.
    Control<QAbstractButton>(*window, "RadioOn")->setFocus();
    PressKey(*window, Qt::Key_Return);
    EXPECT_TRUE(link.IsOpen());
    Control<CodeListBox>(*window, "CodesOut")->setFocus();
    const auto written = link.lines.size();
    PressKey(*window, Qt::Key_Enter, Qt::KeypadModifier);
    EXPECT_EQ(link.lines.size(), written);
    for (auto* button : window->findChildren<QAbstractButton*>())
        EXPECT_FALSE(button->isDown()) << button->objectName().toStdString();
}

TEST_F(ButtonKeysTest, TheStepListFollowsTheStepShown) {
    QComboBox* box = StepBox();
    EXPECT_EQ(box->currentText(), "100 KHz");
    EXPECT_EQ(box->itemText(box->currentIndex()), "100 KHz") << "the start-up step is the list's entry";

    box->setFocus();
    PressKey(*window, Qt::Key_Down);
    EXPECT_EQ(box->currentText(), "500 KHz");
    PressKey(*window, Qt::Key_Up);
    PressKey(*window, Qt::Key_Up);
    EXPECT_EQ(box->currentText(), "50 KHz");

    // A typed step moves the entry; a text that is no step leaves it.
    box->lineEdit()->selectAll();
    QTest::keyClicks(box->lineEdit(), "1 MHz");
    EXPECT_EQ(box->itemText(box->currentIndex()), "1 MHz");
    box->lineEdit()->selectAll();
    QTest::keyClicks(box->lineEdit(), "7 KHz");
    EXPECT_EQ(box->currentText(), "7 KHz");
    EXPECT_EQ(box->itemText(box->currentIndex()), "1 MHz");
    window->SetTuningStepText("1 mhz");
    EXPECT_EQ(box->itemText(box->currentIndex()), "1 MHz") << "entries match exactly";
    window->SetTuningStepText("10 Hz");
    EXPECT_EQ(box->itemText(box->currentIndex()), "10 Hz");
    EXPECT_EQ(box->currentText(), "10 Hz");
}

TEST_F(ButtonKeysTest, TabStopsAtTheSelectedOptionOfEachGroup) {
    Control<QScrollBar>(*window, "IfShift")->setFocus();
    const std::pair<Qt::KeyboardModifiers, const char*> walk[] = {
        {Qt::NoModifier, "WFM"},        {Qt::NoModifier, "Filter5"}, {Qt::NoModifier, "TuningStep"},
        {Qt::ShiftModifier, "Filter5"}, {Qt::ShiftModifier, "WFM"},  {Qt::ShiftModifier, "IfShift"}};
    for (const auto& [modifiers, name] : walk) {
        PressKey(*window, modifiers == Qt::NoModifier ? Qt::Key_Tab : Qt::Key_Backtab, modifiers);
        EXPECT_EQ(Focused(), name);
    }
}

TEST_F(ButtonKeysTest, ArrowsMoveTheSelectionThroughTheGroupAndSendIt) {
    Control<QAbstractButton>(*window, "RadioOn")->click();
    ASSERT_TRUE(link.IsOpen());
    link.lines.clear();
    Control<QRadioButton>(*window, "WFM")->setFocus();
    // In the order the buttons stand, round at either end.
    const std::pair<Qt::Key, const char*> moves[] = {{Qt::Key_Down, "USB"}, {Qt::Key_Right, "LSB"},
                                                     {Qt::Key_Down, "CW"},  {Qt::Key_Down, "AM"},
                                                     {Qt::Key_Up, "CW"},    {Qt::Key_Left, "LSB"}};
    for (const auto& [key, name] : moves) {
        PressKey(*window, key);
        EXPECT_EQ(Focused(), name);
        EXPECT_TRUE(Control<QRadioButton>(*window, name)->isChecked()) << name;
    }
    // Each move sent what a click sends: the tuning command in the new mode.
    EXPECT_EQ(Tunings(), (std::vector<std::string>{"K00081300000010400", "K00081300000000400", "K00081300000030400",
                                                   "K00081300000020400", "K00081300000030400", "K00081300000000400"}));

    // Left by Tab and entered again, the group stops at its selection, also
    // one made while the focus was elsewhere. (Off, so that Shift does not
    // start the scanner.)
    Control<QAbstractButton>(*window, "RadioOff")->click();
    Control<QRadioButton>(*window, "LSB")->setFocus();
    PressKey(*window, Qt::Key_Tab);
    EXPECT_EQ(Focused(), "Filter5");
    PressKey(*window, Qt::Key_Up);
    EXPECT_EQ(Focused(), "Filter4");
    window->SetOptionSelected(OptionButton::Filter2, true);
    PressKey(*window, Qt::Key_Backtab, Qt::ShiftModifier);
    EXPECT_EQ(Focused(), "LSB");
    PressKey(*window, Qt::Key_Tab);
    EXPECT_EQ(Focused(), "Filter2");
}

}  // namespace
}  // namespace velmo
