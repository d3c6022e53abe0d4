#include <array>
#include <utility>

#include "front_panel.h"
#include "tuning_command.h"

namespace velmo {
namespace {

using ButtonCode = std::pair<OptionButton, const char*>;

// In the order the buttons are read: the first selected one decides.
constexpr std::array<ButtonCode, 6> kModeButtons{{
    {OptionButton::AM, "02"},
    {OptionButton::FM, "05"},
    {OptionButton::WFM, "06"},
    {OptionButton::USB, "01"},
    {OptionButton::LSB, "00"},
    {OptionButton::CW, "03"},
}};

constexpr std::array<ButtonCode, 5> kFilterButtons{{
    {OptionButton::Filter1, "00"},
    {OptionButton::Filter2, "01"},
    {OptionButton::Filter3, "02"},
    {OptionButton::Filter4, "03"},
    {OptionButton::Filter5, "04"},
}};

template <std::size_t N>
void TakeFirstSelected(const PanelView& view, const std::array<ButtonCode, N>& group, std::string& setting) {
    for (const auto& [button, code] : group) {
        if (view.OptionSelected(button)) {
            setting = code;
            return;
        }
    }
}

}  // namespace

void FrontPanel::SendFrequency() {
    // Both built from the frequency as it is now: a step taken during the
    // command's pause must not change what this call sends.
    const std::string display = FrequencyDisplayText(Frequency);
    const std::string command = TuningCommand(Frequency, ModeSetting, FilterSetting);
    view_.SetFrequencyDisplay(display);
    SendCommand(command);
}

void FrontPanel::SelectMode() {
    TakeFirstSelected(view_, kModeButtons, ModeSetting);
    SendFrequency();
}

void FrontPanel::SelectFilter() {
    TakeFirstSelected(view_, kFilterButtons, FilterSetting);
    SendFrequency();
}

void FrontPanel::SendLevel(ScrollBar bar, const char* prefix, const char* caption_word) {
    SendCommand(prefix + HexLevel(view_.ScrollValue(bar)));
    // Read again: a newer change handled during the pause has the last word.
    view_.SetFrameCaption(bar, std::string(caption_word) + " " + std::to_string(view_.ScrollValue(bar)));
}

void FrontPanel::SendVolume() { SendLevel(ScrollBar::Volume, "J40", "Volume"); }
void FrontPanel::SendSquelch() { SendLevel(ScrollBar::Squelch, "J41", "Squelch"); }
void FrontPanel::SendIfShift() { SendLevel(ScrollBar::IfShift, "J43", "IF Shift"); }

void FrontPanel::SendSwitch(CheckBox box, const char* off_command, const char* on_command) {
    // Grayed counts as on.
    SendCommand(view_.CheckState(box) == kUnchecked ? off_command : on_command);
}

void FrontPanel::SendAfc() { SendSwitch(CheckBox::AFC, "J5000", "J5001"); }
void FrontPanel::SendAgc() { SendSwitch(CheckBox::AGC, "J4500", "J4501"); }
void FrontPanel::SendAtt() { SendSwitch(CheckBox::ATT, "J4700", "J4701"); }
void FrontPanel::SendNb() { SendSwitch(CheckBox::NB, "J4600", "J4601"); }

}  // namespace velmo
