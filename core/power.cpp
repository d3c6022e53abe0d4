// SPDX-FileCopyrightText: 2026 The Velmo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include <exception>

#include "front_panel.h"
#include "panel_numbers.h"
#include "panel_view.h"
#include "protocol.h"
#include "signal_reading.h"
#include "tuning_command.h"

namespace velmo {
namespace {

// Start-up goes on past a step that fails, such as a port setting that the
// serial layer refuses.
template <typename Step>
void Try(Step step) {
    try {
        step();
    } catch (const std::exception&) {}
}

}  // namespace

void FrontPanel::SetDefaults() {
    Try([&] { CR = "\r"; });
    Try([&] { LF = "\n"; });
    Try([&] { timer1_.SetEnabled(false); });
    Try([&] { timer2_.SetEnabled(false); });
    Try([&] { timer3_.SetEnabled(false); });
    Try([&] { timer1_.SetInterval(0); });
    Try([&] { timer2_.SetInterval(panel_numbers::kSignalPollMs); });
    Try([&] { timer3_.SetInterval(panel_numbers::kScanStepMs); });
    Try([&] { link_.Configure(port_number_, protocol::kLineSettings, 0); });
    Try([&] { view_.SetScrollValue(ScrollBar::Volume, panel_numbers::kStartVolume); });
    Try([&] { view_.SetScrollValue(ScrollBar::Squelch, panel_numbers::kStartSquelch); });
    Try([&] { view_.SetScrollValue(ScrollBar::IfShift, panel_numbers::kStartIfShift); });
    for (const OptionControl& row : kOptionControls) {
        const bool selected = row.button == panel_numbers::kStartMode || row.button == panel_numbers::kStartFilter;
        Try([&] { view_.SetOptionSelected(row.button, selected); });
    }
    for (const SwitchControl& row : kSwitchControls) {
        Try([&] { view_.SetCheckState(row.box, kUnchecked); });
    }
    Try([&] { view_.SetTuningStepText(panel_numbers::kStartTuningStep); });
    Try([&] { Frequency = panel_numbers::kStartFrequencyMhz; });
    Try([&] { view_.SetFrequencyDisplay(FrequencyDisplayText(Frequency)); });
    Try([&] { view_.SetIndicator(Indicator::OnOffLabel, kRed); });
    Try([&] { view_.SetIndicator(Indicator::ScanLabel, kRed); });
    Try([&] { ShowSignal(0); });
}

void FrontPanel::PowerOn() {
    if (link_.IsOpen()) return;
    link_.Open();
    reply_ending_ = ReplyEnding::Lf;
    answers_.Clear();
    SendCommand(protocol::kSwitchOn);
    SendCommand(protocol::kAfterSwitchOn);
    // Every setting the window holds, by the operations its controls call:
    // SendVolume, SendSquelch, SendIfShift, then SendAfc, SendAgc, SendAtt
    // and SendNb.
    for (const LevelControl& row : kLevelControls) (this->*row.operation)();
    for (const SwitchControl& row : kSwitchControls) (this->*row.operation)();
    SelectMode();
    SelectFilter();
    SendFrequency();
    // A switch-off handled during the sends above has already closed the
    // port; showing the receiver on then would be a lie, and OFF would do
    // nothing.
    if (!link_.IsOpen()) return;
    view_.SetIndicator(Indicator::OnOffLabel, kGreen);
    timer2_.SetEnabled(true);
}

void FrontPanel::PowerOff() {
    if (!link_.IsOpen()) return;
    SendCommand(protocol::kSwitchOff);
    // A second switch-off handled during that exchange has closed it already.
    if (link_.IsOpen()) link_.Close();
    view_.SetIndicator(Indicator::OnOffLabel, kRed);
    view_.SetIndicator(Indicator::ScanLabel, kRed);
    ShowSignal(0);
    timer1_.SetEnabled(false);
    timer2_.SetEnabled(false);
    timer3_.SetEnabled(false);
}

}  // namespace velmo
