// SPDX-FileCopyrightText: 2026 The Velmo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <array>
#include <deque>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "fake_link.h"
#include "front_panel.h"
#include "panel_view.h"
#include "sim/simulated_link.h"
#include "virtual_clock.h"

namespace velmo::testing {

// The window's controls without a toolkit. Setting a value raises the
// event a toolkit would raise (only on a real change; for option buttons
// only the one that becomes selected) and runs the event procedure that the
// control's row names, as the window does.
class FakeView : public PanelView {
public:
    explicit FakeView(VirtualClock& clock) : clock_(clock) {}
    void Attach(FrontPanel& panel) { panel_ = &panel; }

    int ScrollValue(ScrollBar bar) const override { return scroll_[Index(bar)]; }
    void SetScrollValue(ScrollBar bar, int value) override;
    void SetFrameCaption(ScrollBar bar, const std::string& caption) override { frame_caption[Index(bar)] = caption; }

    bool OptionSelected(OptionButton button) const override { return option_[Index(button)]; }
    void SetOptionSelected(OptionButton button, bool selected) override;

    int CheckState(CheckBox box) const override { return check_[Index(box)]; }
    void SetCheckState(CheckBox box, int state) override;

    std::string TuningStepText() const override { return tuning_step; }
    void SetTuningStepText(const std::string& text) override { tuning_step = text; }

    void SetFrequencyDisplay(const std::string& text) override { display = text; }
    void SetIndicator(Indicator indicator, Rgb background) override { indicator_colour[Index(indicator)] = background; }
    void SetSignalBar(const std::string& caption, Rgb colour) override;

    void AppendListEntry(CodeList list, const std::string& entry) override { lists[Index(list)].push_back(entry); }
    void RemoveOldestListEntry(CodeList list) override { lists[Index(list)].pop_front(); }
    int ListCount(CodeList list) const override { return static_cast<int>(lists[Index(list)].size()); }
    void SetListTopIndex(CodeList list, int index) override { top_index[Index(list)] = index; }

    std::string InputBox(const std::string& prompt, const std::string& title, const std::string& default_text) override;
    void DoEvents() override;
    [[noreturn]] void EndProgram() override;

    // A user's click on a check box: toggles it between clear and checked.
    void ClickCheck(CheckBox box) { SetCheckState(box, CheckState(box) == kUnchecked ? kChecked : kUnchecked); }

    const std::deque<std::string>& CodesOut() const { return lists[0]; }
    const std::deque<std::string>& CodesIn() const { return lists[1]; }
    Rgb OnOffLabel() const { return indicator_colour[0]; }
    Rgb ScanLabel() const { return indicator_colour[1]; }

    // Visible state, open for the tests to read.
    std::array<std::string, kLevelCount> frame_caption;
    std::string tuning_step;
    std::string display = "1300.000.000";
    std::array<Rgb, 2> indicator_colour{};
    std::string signal_caption = " " + std::string(75, '|');
    Rgb signal_colour = kBlue;
    int signal_draws = 0;
    std::array<std::deque<std::string>, 2> lists;
    std::array<int, 2> top_index{-1, -1};

    // Events raised, by procedure name ("Volume_Change", "WFM_Click").
    std::vector<std::string> events;
    // Answers the input box gives, in turn; an exhausted script cancels.
    std::deque<std::string> input_answers;
    std::vector<std::string> input_defaults;
    bool ended = false;
    int do_events_calls = 0;

private:
    // Runs a control's event procedure, as the window does.
    void Run(EventProcedure procedure);

    template <typename E>
    static std::size_t Index(E e) {
        return static_cast<std::size_t>(e);
    }

    VirtualClock& clock_;
    FrontPanel* panel_ = nullptr;
    std::array<int, kLevelCount> scroll_{};
    std::array<bool, kOptionCount> option_{};
    std::array<int, kSwitchCount> check_{};
};

// The three timers wired to their event procedures, the fakes and the panel.
// The panel talks to the scripted link, or, given the receiver's options,
// to the simulated receiver on the same virtual clock.
struct Rig {
    explicit Rig(int port = 3);
    explicit Rig(sim::ReceiverOptions receiver, int port = 3);

    VirtualClock clock;
    FakeLink link{clock};
    FakeView view{clock};
    std::unique_ptr<sim::SimulatedLink> simulated;
    std::unique_ptr<VirtualTimer> timer1;  // the reply pause
    std::unique_ptr<VirtualTimer> timer2;  // the signal poll
    std::unique_ptr<VirtualTimer> timer3;  // the scanner
    FrontPanel panel;

private:
    Rig(std::optional<sim::ReceiverOptions> receiver, int port);
};

}  // namespace velmo::testing
