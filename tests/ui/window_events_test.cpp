// SPDX-FileCopyrightText: 2026 The Velmo developers
// SPDX-License-Identifier: GPL-3.0-or-later

// How the window's controls raise their events, and the key preview.

#include <gtest/gtest.h>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QInputDialog>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QScrollBar>
#include <QTest>
#include <QTimer>
#include <algorithm>
#include <cstddef>
#include <memory>
#include <string>

#include "code_list_box.h"
#include "fake_link.h"
#include "main_window.h"
#include "reply_list.h"
#include "window_driver.h"
#include "window_test_support.h"

namespace velmo {
namespace {

using testing::Control;
using testing::FakeLink;
using testing::PressKey;
using testing::ShowWindow;

class WindowEventsTest : public ::testing::Test, public testing::WindowOnFakeLink {
protected:
    // Switches the receiver on, so that every event shows as a command.
    void SwitchOn() {
        Control<QAbstractButton>(*window, "RadioOn")->click();
        ASSERT_TRUE(link.IsOpen());
        link.writes.clear();
    }
    std::ptrdiff_t Written(const std::string& line) const {
        return std::count(link.writes.begin(), link.writes.end(), line + "\r\n");
    }
    std::ptrdiff_t WrittenStartingWith(const std::string& prefix) const {
        return std::count_if(link.writes.begin(), link.writes.end(),
                             [&](const std::string& w) { return w.rfind(prefix, 0) == 0; });
    }
};

TEST_F(WindowEventsTest, ScrollBarRaisesItsChangeOnlyOnARealChange) {
    window->SetScrollValue(ScrollBar::Volume, 5);  // while off: the window only
    EXPECT_TRUE(link.writes.empty());
    EXPECT_EQ(Control<QGroupBox>(*window, "VolumeFrame")->title(), "Volume 5");
    SwitchOn();

    window->SetScrollValue(ScrollBar::Volume, 100);
    EXPECT_EQ(link.writes, std::vector<std::string>{"J4064\r\n"});
    window->SetScrollValue(ScrollBar::Volume, 100);
    EXPECT_EQ(link.writes.size(), 1u);

    // The user's step on the bar raises the same event.
    Control<QScrollBar>(*window, "Squelch")->triggerAction(QAbstractSlider::SliderSingleStepAdd);
    EXPECT_EQ(Written("J4181"), 1);  // 128 + 1
}

TEST_F(WindowEventsTest, SelectingAnOptionRaisesTheClickOfThatButtonOnly) {
    SwitchOn();
    window->SetOptionSelected(OptionButton::AM, true);
    ASSERT_EQ(link.writes, std::vector<std::string>{"K00081300000020400\r\n"});
    link.writes.clear();

    // Selecting WFM clears AM, which raises nothing: one retune, in WFM.
    window->SetOptionSelected(OptionButton::WFM, true);
    EXPECT_EQ(link.writes, std::vector<std::string>{"K00081300000060400\r\n"});
    EXPECT_FALSE(window->OptionSelected(OptionButton::AM));

    // Selecting the selected button again changes nothing.
    window->SetOptionSelected(OptionButton::WFM, true);
    EXPECT_EQ(link.writes.size(), 1u);

    // A user's click on a filter button.
    QTest::mouseClick(Control<QRadioButton>(*window, "Filter1"), Qt::LeftButton);
    EXPECT_EQ(link.writes.back(), "K00081300000060000\r\n");
    EXPECT_EQ(WrittenStartingWith("K0"), 2);
}

TEST_F(WindowEventsTest, ClearingTheSelectedOptionLeavesTheGroupEmptyAndRaisesNothing) {
    SwitchOn();
    window->SetOptionSelected(OptionButton::WFM, false);
    EXPECT_FALSE(window->OptionSelected(OptionButton::WFM));
    EXPECT_TRUE(link.writes.empty());
    // The group is still exclusive.
    window->SetOptionSelected(OptionButton::FM, true);
    window->SetOptionSelected(OptionButton::CW, true);
    EXPECT_FALSE(window->OptionSelected(OptionButton::FM));
    EXPECT_EQ(WrittenStartingWith("K0"), 2);
}

TEST_F(WindowEventsTest, CheckBoxRaisesItsClickOnEveryChangeOfState) {
    SwitchOn();
    window->SetCheckState(CheckBox::AFC, kChecked);
    EXPECT_EQ(link.writes, std::vector<std::string>{"J5001\r\n"});
    window->SetCheckState(CheckBox::AFC, kChecked);
    EXPECT_EQ(link.writes.size(), 1u);
    QTest::mouseClick(Control<QCheckBox>(*window, "NB"), Qt::LeftButton);
    EXPECT_EQ(link.writes.back(), "J4601\r\n");
    window->SetCheckState(CheckBox::AFC, kUnchecked);
    EXPECT_EQ(link.writes.back(), "J5000\r\n");

    // Grayed is set from code only; the user's click leaves it for checked.
    window->SetCheckState(CheckBox::ATT, kGrayed);
    EXPECT_EQ(window->CheckState(CheckBox::ATT), kGrayed);
    auto* att = Control<QCheckBox>(*window, "ATT");
    QTest::mouseClick(att, Qt::LeftButton);
    EXPECT_EQ(window->CheckState(CheckBox::ATT), kChecked);
    QTest::mouseClick(att, Qt::LeftButton);
    QTest::mouseClick(att, Qt::LeftButton);
    EXPECT_EQ(window->CheckState(CheckBox::ATT), kChecked) << "a click went through grayed again";
}

TEST_F(WindowEventsTest, FocusStartsAtTheFirstControlInTabOrder) {
    ShowWindow(*window);
    ASSERT_NE(QApplication::focusWidget(), nullptr);
    EXPECT_EQ(QApplication::focusWidget()->objectName(), "CodesOut");
}

TEST_F(WindowEventsTest, KeysReachTheKeyTableBeforeTheFocusedList) {
    ShowWindow(*window);
    auto* codes_in = Control<CodeListBox>(*window, "CodesIn");
    for (int i = 0; i < 3; ++i) {
        window->AppendListEntry(CodeList::CodesIn, testing::AcknowledgementEntry("G000"));
    }
    codes_in->setCurrentIndex(codes_in->model()->index(2, 0));
    codes_in->setFocus();

    PressKey(*window, Qt::Key_Home);
    EXPECT_EQ(Display(), "0.100.000");             // Home tunes the bottom of the range
    EXPECT_EQ(codes_in->currentIndex().row(), 0);  // and the list still moved to its first entry

    PressKey(*window, Qt::Key_PageUp);
    EXPECT_EQ(Display(), "0.200.000");  // one step of 100 KHz
    PressKey(*window, Qt::Key_End);
    EXPECT_EQ(Display(), "1300.000.000");
    EXPECT_EQ(codes_in->currentIndex().row(), 2);
}

TEST_F(WindowEventsTest, KeysReachTheKeyTableWhileTheScrollBarHasTheFocus) {
    ShowWindow(*window);
    auto* squelch = Control<QScrollBar>(*window, "Squelch");
    squelch->setFocus();
    PressKey(*window, Qt::Key_Pause);  // mutes: Volume to 0
    EXPECT_EQ(Control<QScrollBar>(*window, "Volume")->value(), 0);
    EXPECT_EQ(Control<QGroupBox>(*window, "VolumeFrame")->title(), "Volume 0");

    PressKey(*window, Qt::Key_Home);
    EXPECT_EQ(Display(), "0.100.000");
    EXPECT_EQ(squelch->value(), 0);  // the bar took Home too
}

TEST_F(WindowEventsTest, TypingInTheTuningStepStepsTheFrequencyAndStillEditsTheText) {
    ShowWindow(*window);
    auto* combo = Control<QComboBox>(*window, "TuningStep");
    combo->setFocus();
    combo->lineEdit()->end(false);

    PressKey(*window, Qt::Key_U);
    // The step was read before the letter reached the text.
    EXPECT_EQ(Display(), "81.400.000");
    EXPECT_EQ(combo->currentText(), "100 KHzu");

    PressKey(*window, Qt::Key_D);
    EXPECT_EQ(combo->currentText(), "100 KHzud");
    EXPECT_EQ(Display(), "81.400.000");  // stepped down by a step it cannot read: the same frequency
}

TEST_F(WindowEventsTest, AutoRepeatedKeysCountEveryTime) {
    ShowWindow(*window);
    Control<CodeListBox>(*window, "CodesOut")->setFocus();
    QWindow* handle = window->windowHandle();
    QTest::simulateEvent(handle, true, Qt::Key_PageUp, Qt::NoModifier, QString(), false);
    QTest::simulateEvent(handle, true, Qt::Key_PageUp, Qt::NoModifier, QString(), true);
    QTest::simulateEvent(handle, true, Qt::Key_PageUp, Qt::NoModifier, QString(), true);
    QTest::simulateEvent(handle, false, Qt::Key_PageUp, Qt::NoModifier, QString(), false);
    EXPECT_EQ(Display(), "81.600.000");
}

TEST_F(WindowEventsTest, OnACyrillicLayoutTheUAndDKeysStillTune) {
    ShowWindow(*window);
    auto* codes_in = Control<CodeListBox>(*window, "CodesIn");
    codes_in->setFocus();
    // The keys in the U and D positions (X keycodes 30 and 40, Windows'
    // virtual keys U and D) give Cyrillic letters; the key next to L gives
    // one too, and has no row.
    const auto press = [&](int qt_key, const char16_t* text, quint32 scan_code, quint32 windows_key) {
        QKeyEvent down(QEvent::KeyPress, qt_key, Qt::NoModifier, scan_code, windows_key, 0, QString::fromUtf16(text));
        QKeyEvent up(QEvent::KeyRelease, qt_key, Qt::NoModifier, scan_code, windows_key, 0, QString::fromUtf16(text));
        QApplication::sendEvent(codes_in, &down);
        QApplication::sendEvent(codes_in, &up);
    };
    press(0x0413, u"\u0433", 30, 'U');
    EXPECT_EQ(Display(), "81.400.000");
    press(0x0412, u"\u0432", 40, 'D');
    press(0x0412, u"\u0432", 40, 'D');
    EXPECT_EQ(Display(), "81.200.000");
    press(0x0416, u"\u0436", 47, 186);
    EXPECT_EQ(Display(), "81.200.000");
}

TEST_F(WindowEventsTest, AccessKeyClicksItsButton) {
    ShowWindow(*window);
    PressKey(*window, Qt::Key_O, Qt::AltModifier);  // "&ON"
    // An access key presses the button visibly and clicks it on release.
    EXPECT_TRUE(testing::WaitUntil([&] { return link.opens > 0; }));
    EXPECT_EQ(link.opens, 1);
    EXPECT_TRUE(link.IsOpen());
}

TEST_F(WindowEventsTest, DirectEntryAsksInAnInputBox) {
    ShowWindow(*window);
    QString title, prompt, offered;
    AnswerInputBoxes([&](QInputDialog& dialog) {
        title = dialog.windowTitle();
        prompt = dialog.labelText();
        offered = dialog.textValue();
        // Keys typed in the box are the box's: Home does not tune.
        QTest::keyClick(dialog.findChild<QLineEdit*>(), Qt::Key_Home);
        dialog.setTextValue("145.5");
        dialog.accept();
        return false;
    });
    Control<QAbstractButton>(*window, "Direct")->click();
    EXPECT_EQ(title, "Input Direct Frequency");
    EXPECT_EQ(prompt, "Enter Frequency in MHz (From 0.1 To 1300) :");
    EXPECT_EQ(offered, "81.3");
    EXPECT_EQ(Display(), "145.500.000");
}

TEST_F(WindowEventsTest, CancelledInputBoxChangesNothing) {
    ShowWindow(*window);
    AnswerInputBox("145.5", false);
    Control<QAbstractButton>(*window, "Direct")->click();
    EXPECT_EQ(Display(), "81.300.000");
}

TEST_F(WindowEventsTest, ListsKeepTheNewestEntryInView) {
    ShowWindow(*window);
    auto* codes_out = Control<CodeListBox>(*window, "CodesOut");
    for (int i = 0; i < 200; ++i) window->AppendListEntry(CodeList::CodesOut, "J40" + std::to_string(i));
    window->SetListTopIndex(CodeList::CodesOut, window->ListCount(CodeList::CodesOut) - 1);
    QCoreApplication::processEvents();
    const QRect last = codes_out->visualRect(codes_out->model()->index(199, 0));
    EXPECT_TRUE(codes_out->viewport()->rect().contains(last)) << "the newest entry is out of view";

    window->RemoveOldestListEntry(CodeList::CodesOut);
    EXPECT_EQ(window->ListCount(CodeList::CodesOut), 199);
    EXPECT_EQ(codes_out->Entry(0), "J401");
}

}  // namespace
}  // namespace velmo
