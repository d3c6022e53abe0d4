// SPDX-FileCopyrightText: 2026 The Velmo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "answer_book.h"
#include "protocol.h"
#include "reply_ending.h"
#include "serial_link.h"
#include "time_source.h"
#include "timer.h"

namespace velmo {

// The controls, their event procedures and the view of them
// (panel_controls.h, panel_view.h), which name the operations below and so
// come after them.
class PanelView;
enum class ScrollBar;
enum class OptionButton;
enum class CheckBox;
enum class CodeList;

// The front panel: every operation and form variable of the window, written
// against the serial link, the three timers and the view of the controls.
// Everything runs on one thread; Pause lets other events run, so any
// operation may be entered again while another is waiting.
class FrontPanel {
public:
    // The newest entries each code list keeps.
    static constexpr int kMaxListEntries = 5000;
    // How many further reply pauses a command's exchange waits for the rest
    // of a reply that is still crossing the line, and a query's for its
    // answer, until the link has shown that its answers take longer.
    static constexpr int kMaxReplyPauses = 10;
    // How many of those pauses in a row that bring nothing show that the
    // line has fallen quiet. A reply may stall midway, as when a USB serial
    // adapter holds its bytes back for up to 16 ms.
    static constexpr int kQuietPauses = 3;

    // The timers keep the window's numbering: timer1 clocks the reply pause,
    // timer2 the signal poll, timer3 the scanner. The clock times the
    // receiver's answers.
    FrontPanel(SerialLink& link, PanelView& view, Timer& timer1, Timer& timer2, Timer& timer3, const Clock& clock,
               int port_number);

    // Serial command exchange.
    void SendCommand(const std::string& command);

    // How the panel waits. Pause is not a sleep: it runs the window's events
    // until Timer1 ticks (view.DoEvents(), a nested event loop in Qt terms),
    // so operations are re-entrant: a click, a key or a timer tick that comes
    // during a pause runs at once, inside it, on the same stack, and may
    // pause in turn. An operation therefore cannot trust after a pause what
    // it read before one. The port may have been closed (switched off
    // meanwhile): every caller tests IsOpen() again before it reads or
    // carries on (SendCommand, ScanStep, PauseAndRead, PowerOn, PowerOff).
    // Frequency and the settings may have changed: SendFrequency and the
    // other senders read them at their own start and send what they read.
    // Pauses share Timer1, so an inner pause ends the outer one too (a click
    // ends the scanner's hold). The program may have ended: DoEvents then
    // throws ProgramEnded, which unwinds every operation under way to its
    // event procedure without another step (PanelView::EndProgram, and the
    // window's Guard). A timer's tick never starts inside its own last tick
    // (the Qt timer adapter drops it, ui/window/qt_timer.h). Presses nest as deep
    // as the user keeps pressing during pauses, so the program gives its
    // main thread a larger stack (ui/window/stack_room.h).
    void Pause(double seconds);
    void Timer1_Timer();
    void ShowReplies(std::string reply);

    // Start-up and power.
    void SetDefaults();
    void PowerOn();
    void PowerOff();

    // Receiver settings. The controls' event procedures call them
    // (ControlEvents, beside the rows of panel_controls.h).
    void SendFrequency();
    void SelectMode();
    void SelectFilter();
    void SendVolume();
    void SendSquelch();
    void SendIfShift();
    void SendAfc();
    void SendAgc();
    void SendAtt();
    void SendNb();
    // The operation of a level bar or a switch that has none named for it:
    // the same as SendVolume or SendAfc, for its own row.
    template <ScrollBar bar>
    void SendLevel() {
        SendLevel(bar);
    }
    template <CheckBox box>
    void SendSwitch() {
        SendSwitch(box);
    }

    // Tuning, scanning, signal meter, keys.
    void TuneUp();
    void TuneDown();
    void EnterFrequency();
    void ToggleScan();
    void ScanStep();
    void ReadSignal();
    void ShowSignal(int level);
    void HandleKey(int key_code);

    // The questions awaiting answers on this link, for a look at its state.
    const AnswerBook& Answers() const { return answers_; }

    // Form variables.
    double Frequency = 0.0;
    std::string ModeSetting;
    std::string FilterSetting;
    std::int16_t Signal = 0;
    std::string CR;
    std::string LF;

private:
    void AddListEntry(CodeList list, const std::string& entry);
    // What a level bar's or a switch's change sends, by its row.
    void SendLevel(ScrollBar bar);
    void SendSwitch(CheckBox box);

    // What one exchange has brought so far: everything it read, to be
    // listed, and, for a query, the answer to that very query if it came.
    struct Exchanged {
        bool still_open = true;  // false: switched off meanwhile
        std::string read;
        std::optional<std::string> answer;
        // Reply pauses in a row that brought nothing; kQuietPauses of them
        // and the line has fallen quiet.
        int quiet_pauses = 0;
        bool fell_quiet = false;
        Micros last_read{0};
    };
    // Writes `line` with its line ending; returns the time it was asked.
    Micros WriteLine(const std::string& line);
    // One reply pause, and a read of what came during it, shown to the
    // answer book and to the guess of how replies end. False when a
    // switch-off during the pause has closed the port: nothing is read.
    bool PauseAndRead(Exchanged& exchange);
    // The wait after a command: only for the rest of a reply caught
    // mid-line, so a command's own answer is often read by a later
    // exchange.
    void WaitForReplyEnd(Exchanged& exchange);
    // The wait after a query: for its own answer, until it comes, is known
    // lost, or the wait the link has shown runs out.
    void WaitForAnswer(Exchanged& exchange, const AnswerBook::Wait& wait);
    // A query written straight to the line (not listed among the commands)
    // and its wait.
    Exchanged Query(const std::string& query, AnswerKind kind);

    SerialLink& link_;
    PanelView& view_;
    Timer& timer1_;  // the reply pause: Pause waits for its tick
    Timer& timer2_;  // the signal poll, every kSignalPollMs while on
    Timer& timer3_;  // the scanner's step, every kScanStepMs while it runs
    const Clock& clock_;
    int port_number_;
    // How this receiver ends its replies, learnt anew at each switch-on.
    ReplyEnding reply_ending_ = ReplyEnding::Lf;
    // The questions awaiting answers, and how long answers take on this
    // link; also anew at each switch-on.
    AnswerBook answers_;
};

}  // namespace velmo
