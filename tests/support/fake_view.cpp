// SPDX-FileCopyrightText: 2026 The Velmo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "fake_view.h"

#include <algorithm>
#include <stdexcept>

namespace velmo::testing {
namespace {

// The name of the window's event procedure for a control of the panel.
std::string EventName(const char* control, const char* event) { return std::string(control) + event; }

}  // namespace

void FakeView::SetScrollValue(ScrollBar bar, int value) {
    value = std::clamp(value, 0, 255);
    if (scroll_[Index(bar)] == value) return;
    scroll_[Index(bar)] = value;
    events.push_back(EventName(Row(bar).name, "_Change"));
    Run(Row(bar).change);
}

void FakeView::SetOptionSelected(OptionButton button, bool selected) {
    if (!selected) {
        option_[Index(button)] = false;
        return;
    }
    if (option_[Index(button)]) return;
    // Selecting one clears the rest of its group, which raises nothing.
    for (const OptionControl& row : kOptionControls) {
        if (row.group == Row(button).group) option_[Index(row.button)] = false;
    }
    option_[Index(button)] = true;
    events.push_back(EventName(Row(button).name, "_Click"));
    Run(Row(button).click);
}

void FakeView::SetCheckState(CheckBox box, int state) {
    if (check_[Index(box)] == state) return;
    check_[Index(box)] = state;
    events.push_back(EventName(Row(box).name, "_Click"));
    Run(Row(box).click);
}

void FakeView::Run(EventProcedure procedure) {
    ControlEvents procedures(*panel_);
    (procedures.*procedure)();
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
