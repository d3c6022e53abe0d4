// SPDX-FileCopyrightText: 2026 The Velmo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "fake_view.h"

#include <algorithm>
#include <stdexcept>

namespace velmo::testing {
namespace {

constexpr const char* kOptionClick[] = {"AM_Click",      "FM_Click",      "WFM_Click",     "USB_Click",
                                        "LSB_Click",     "CW_Click",      "Filter1_Click", "Filter2_Click",
                                        "Filter3_Click", "Filter4_Click", "Filter5_Click"};
constexpr const char* kCheckClick[] = {"AFC_Click", "AGC_Click", "ATT_Click", "NB_Click"};
constexpr const char* kScrollChange[] = {"Volume_Change", "Squelch_Change", "IfShift_Change"};

bool IsModeButton(OptionButton button) { return button <= OptionButton::CW; }

}  // namespace

void FakeView::SetScrollValue(ScrollBar bar, int value) {
    value = std::clamp(value, 0, 255);
    if (scroll_[Index(bar)] == value) return;
    scroll_[Index(bar)] = value;
    events.emplace_back(kScrollChange[Index(bar)]);
    switch (bar) {
        case ScrollBar::Volume: panel_->SendVolume(); break;
        case ScrollBar::Squelch: panel_->SendSquelch(); break;
        case ScrollBar::IfShift: panel_->SendIfShift(); break;
    }
}

void FakeView::SetOptionSelected(OptionButton button, bool selected) {
    if (!selected) {
        option_[Index(button)] = false;
        return;
    }
    if (option_[Index(button)]) return;
    // Selecting one clears the rest of its group, which raises nothing.
    for (std::size_t i = 0; i < option_.size(); ++i) {
        if (IsModeButton(static_cast<OptionButton>(i)) == IsModeButton(button)) option_[i] = false;
    }
    option_[Index(button)] = true;
    events.emplace_back(kOptionClick[Index(button)]);
    if (IsModeButton(button)) {
        panel_->SelectMode();
    } else {
        panel_->SelectFilter();
    }
}

void FakeView::SetCheckState(CheckBox box, int state) {
    if (check_[Index(box)] == state) return;
    check_[Index(box)] = state;
    events.emplace_back(kCheckClick[Index(box)]);
    switch (box) {
        case CheckBox::AFC: panel_->SendAfc(); break;
        case CheckBox::AGC: panel_->SendAgc(); break;
        case CheckBox::ATT: panel_->SendAtt(); break;
        case CheckBox::NB: panel_->SendNb(); break;
    }
}

void FakeView::SetSignalBar(const std::string& caption, Rgb colour) {
    signal_caption = caption;
    signal_colour = colour;
    ++signal_draws;
}

std::string FakeView::InputBox(const std::string&, const std::string&, const std::string& default_text) {
    input_defaults.push_back(default_text);
    if (input_answers.empty()) return "";
    std::string answer = input_answers.front();
    input_answers.pop_front();
    return answer;
}

void FakeView::DoEvents() {
    if (ended) throw ProgramEnded{};
    ++do_events_calls;
    if (!clock_.RunNext()) throw std::logic_error("DoEvents: nothing can ever happen again");
    if (ended) throw ProgramEnded{};
}

void FakeView::EndProgram() {
    ended = true;
    throw ProgramEnded{};
}

Rig::Rig(int port) : Rig(std::nullopt, port) {}

Rig::Rig(sim::ReceiverOptions receiver, int port) : Rig(std::optional(std::move(receiver)), port) {}

Rig::Rig(std::optional<sim::ReceiverOptions> receiver, int port)
    : simulated(receiver ? std::make_unique<sim::SimulatedLink>(clock, std::move(*receiver)) : nullptr),
      timer1(clock.NewTimer([this] { panel.Timer1_Timer(); })),
      timer2(clock.NewTimer([this] { panel.ReadSignal(); })),
      timer3(clock.NewTimer([this] { panel.ScanStep(); })),
      panel(simulated ? static_cast<SerialLink&>(*simulated) : link, view, *timer1, *timer2, *timer3, clock, port) {
    view.Attach(panel);
}

}  // namespace velmo::testing
