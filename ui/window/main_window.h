// SPDX-FileCopyrightText: 2026 The Velmo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QWidget>
#include <array>
#include <exception>
#include <functional>
#include <memory>
#include <span>
#include <string>

#include "front_panel.h"
#include "panel_view.h"
#include "qt_timer.h"
#include "serial_link.h"

class QAbstractButton;
class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QRadioButton;
class QScrollBar;

namespace velmo {

enum class ButtonPicture;
class CodeListBox;
class FrequencyDisplay;
class PanelAccessibility;

// Shows the user why the program has to end (a serial failure, in practice).
using FailureReporter = std::function<void(const std::exception& error)>;

// The program's one window: the controls of the front panel, their events,
// and the FrontPanel that the events drive.
//
// Every event procedure calls one panel operation inside a guard that keeps
// exceptions out of Qt's event dispatch: a failure is reported and ends the
// program with status 1, the end of the program (Escape, closing the window)
// unwinds every operation in progress, and once the program is ending no
// event procedure does anything more.
class MainWindow final : public QWidget, public PanelView {
    Q_OBJECT
public:
    // Runs Form_Load before returning; the window is not shown yet. Without a
    // reporter, a failure is shown in a message box.
    MainWindow(SerialLink& link, int port_number, FailureReporter report = {}, QWidget* parent = nullptr);
    ~MainWindow() override;

    // Whether the program has begun to end, and with which status.
    bool Ending() const { return ending_; }
    int ExitStatus() const { return exit_status_; }

    // The panel that the events drive, for tools that call its operations
    // directly (the benchmarks time Pause and feed ShowReplies).
    FrontPanel& Panel() { return panel_; }

    // PanelView
    int ScrollValue(ScrollBar bar) const override;
    void SetScrollValue(ScrollBar bar, int value) override;
    void SetFrameCaption(ScrollBar bar, const std::string& caption) override;
    bool OptionSelected(OptionButton button) const override;
    void SetOptionSelected(OptionButton button, bool selected) override;
    int CheckState(CheckBox box) const override;
    void SetCheckState(CheckBox box, int state) override;
    std::string TuningStepText() const override;
    void SetTuningStepText(const std::string& text) override;
    void SetFrequencyDisplay(const std::string& text) override;
    void SetIndicator(Indicator indicator, Rgb background) override;
    void SetSignalBar(const std::string& caption, Rgb text_colour) override;
    void AppendListEntry(CodeList list, const std::string& entry) override;
    void RemoveOldestListEntry(CodeList list) override;
    int ListCount(CodeList list) const override;
    void SetListTopIndex(CodeList list, int index) override;
    std::string InputBox(const std::string& prompt, const std::string& title, const std::string& default_text) override;
    void DoEvents() override;
    [[noreturn]] void EndProgram() override;

protected:
    // Key preview: sees every key press meant for a control of this window
    // before that control does, and lets it go on to the control.
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private slots:
    void Form_Load();
    void Form_KeyDown(int key_code);
    void RadioOn_Click();
    void RadioOff_Click();
    void FrequencyUp_Click();
    void FrequencyDown_Click();
    void Direct_Click();
    void Scan_Click();
    void Timer1_Timer();  // ends the reply pause
    void Timer2_Timer();  // polls the signal
    void Timer3_Timer();  // steps the scanner

private:
    // The widget of `key_window` that a key press reaches first when it is
    // a key of this window: the control with the focus, or the part of a
    // popup opened by it that has the popup's focus. nullptr for the keys
    // of other windows.
    QWidget* FirstKeyReceiver(QWidget* key_window);

    // The command buttons, one row each: the field that holds it, its name
    // in the program, caption ("&" before its access key), place, picture,
    // what it tells a screen reader, place in the tab order and event
    // procedure.
    struct CommandButtonRow {
        QAbstractButton* MainWindow::*field;
        const char* name;
        const char* caption;
        TwipsPlace place;
        ButtonPicture picture;
        const char* description;
        int tab_index;
        void (MainWindow::*click)();
    };
    static std::span<const CommandButtonRow> CommandButtons();

    // Runs the event procedure that a control's row names (Volume_Change,
    // WFM_Click, AFC_Click, ...), as the window runs its own: not while the
    // program ends, and a failure ends it.
    void Run(EventProcedure procedure);

    void BuildControls();
    void SetTabOrder();
    void WireEvents();

    // Runs one panel operation for an event procedure.
    template <typename Operation>
    void Guard(Operation&& operation);
    void Fail(const std::exception& error);
    // Marks the program as ending with `status` and stops the timers; the
    // first call decides the status.
    void BeginEnding(int status);

    QScrollBar* Bar(ScrollBar bar) const;
    QRadioButton* Option(OptionButton button) const;
    QCheckBox* Box(CheckBox box) const;
    CodeListBox* List(CodeList list) const;
    // Makes the tuning step's current entry the one its text names.
    void FollowStepText();

    // Asked after every wait for events, so that a connection lost while
    // nothing is being sent (the scanner's hold) ends the program at once.
    SerialLink& link_;
    FailureReporter report_;
    bool ending_ = false;
    int exit_status_ = 0;

    // The controls, indexed by the panel's enums.
    std::array<QScrollBar*, kLevelCount> scroll_bars_{};
    std::array<QGroupBox*, kLevelCount> level_frames_{};
    std::array<QRadioButton*, kOptionCount> options_{};
    std::array<QCheckBox*, kSwitchCount> check_boxes_{};
    std::array<QLabel*, 2> indicators_{};
    std::array<CodeListBox*, 2> lists_{};
    QLabel* signal_strength_ = nullptr;
    FrequencyDisplay* display_frequency_ = nullptr;
    QComboBox* tuning_step_ = nullptr;
    QAbstractButton* radio_on_ = nullptr;
    QAbstractButton* radio_off_ = nullptr;
    QAbstractButton* frequency_up_ = nullptr;
    QAbstractButton* frequency_down_ = nullptr;
    QAbstractButton* direct_ = nullptr;
    QAbstractButton* scan_ = nullptr;
    std::unique_ptr<PanelAccessibility> accessibility_;

    QtTimer timer1_;     // the reply pause
    QtTimer timer2_;     // the signal poll
    QtTimer timer3_;     // the scanner
    SteadyClock clock_;  // times the receiver's answers
    FrontPanel panel_;
    ControlEvents control_events_{panel_};  // the event procedures of the panel's tables
};

}  // namespace velmo
