// SPDX-FileCopyrightText: 2026 The Velmo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <cstddef>
#include <iterator>

#include "front_panel.h"
#include "protocol.h"

// The front panel's controls that tell the receiver something, one row per
// control: what it is called in the program, what it shows, what it tells a
// screen reader, what it sends, its event procedure and the panel's
// operation that it calls, where it lies and where it comes in the tab
// order. The window, its wiring, its accessibility, switching on and the
// tests' fake window are all made from these rows and the event procedures
// beside them, so a control is added or changed here alone (and in the
// simulated receiver, which judges the wire with its own table).
namespace velmo {

// What PowerOn calls for a level bar or a switch, to send its setting: one
// of the panel's operations. A control without an operation named for it
// has its family's, for its own row (FrontPanel::SendLevel<bar>,
// FrontPanel::SendSwitch<box>).
using PanelOperation = void (FrontPanel::*)();

// A control's place in its parent, in twips (1/1440 inch).
struct TwipsPlace {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
};

enum class ScrollBar { Volume, Squelch, IfShift };
// In the order the mode and filter operations read them.
enum class OptionButton { AM, FM, WFM, USB, LSB, CW, Filter1, Filter2, Filter3, Filter4, Filter5 };
enum class OptionGroup { Mode, Filter };
enum class CheckBox { AFC, AGC, ATT, NB };

// The event procedures of these controls, named for the control and its
// event. Each calls its one operation of the panel and does nothing else;
// the window and the tests' fake window run the one that a row names when
// its control's event happens.
class ControlEvents {
public:
    explicit ControlEvents(FrontPanel& panel) : panel_(panel) {}

    void Volume_Change() { panel_.SendVolume(); }
    void Squelch_Change() { panel_.SendSquelch(); }
    void IfShift_Change() { panel_.SendIfShift(); }
    void AM_Click() { panel_.SelectMode(); }
    void FM_Click() { panel_.SelectMode(); }
    void WFM_Click() { panel_.SelectMode(); }
    void USB_Click() { panel_.SelectMode(); }
    void LSB_Click() { panel_.SelectMode(); }
    void CW_Click() { panel_.SelectMode(); }
    void Filter1_Click() { panel_.SelectFilter(); }
    void Filter2_Click() { panel_.SelectFilter(); }
    void Filter3_Click() { panel_.SelectFilter(); }
    void Filter4_Click() { panel_.SelectFilter(); }
    void Filter5_Click() { panel_.SelectFilter(); }
    void AFC_Click() { panel_.SendAfc(); }
    void AGC_Click() { panel_.SendAgc(); }
    void ATT_Click() { panel_.SendAtt(); }
    void NB_Click() { panel_.SendNb(); }

private:
    FrontPanel& panel_;
};

using EventProcedure = void (ControlEvents::*)();

// ---- Level bars ----------------------------------------------------------

struct LevelControl {
    ScrollBar bar;
    const char* name;     // the bar's name in the program
    const char* caption;  // the frame's caption, the word before the level, and the bar's accessible name
    const char* description;
    const char* command;       // + the level as two hexadecimal digits
    EventProcedure change;     // name + "_Change"
    PanelOperation operation;  // what its change and switching on call
    TwipsPlace frame;
    TwipsPlace place;      // in its frame, or in the window when it lies over it
    bool lies_over_frame;  // belongs to the window, not to its frame
    int tab_index;
};

// In the order of ScrollBar and of switching on.
inline constexpr LevelControl kLevelControls[] = {
    {ScrollBar::Volume,
     "Volume",
     "Volume",
     "0 to 255. Key: Pause mutes",
     protocol::kVolume,
     &ControlEvents::Volume_Change,
     &FrontPanel::SendVolume,
     {120, 4080, 3135, 855},
     {240, 4560, 2895, 255},
     true,
     4},
    {ScrollBar::Squelch,
     "Squelch",
     "Squelch",
     "0 to 255",
     protocol::kSquelch,
     &ControlEvents::Squelch_Change,
     &FrontPanel::SendSquelch,
     {120, 5040, 3135, 855},
     {120, 480, 2895, 255},
     false,
     7},
    {ScrollBar::IfShift,
     "IfShift",
     "IF Shift",
     "0 to 255",
     protocol::kIfShift,
     &ControlEvents::IfShift_Change,
     &FrontPanel::SendIfShift,
     {120, 6000, 3135, 855},
     {120, 480, 2895, 255},
     false,
     8},
};

// ---- Option groups -------------------------------------------------------

struct OptionControl {
    OptionButton button;
    OptionGroup group;
    const char* name;
    const char* caption;
    const char* code;      // the mode or filter code of the tuning command
    EventProcedure click;  // name + "_Click"; calls SelectMode or SelectFilter, by its group
    TwipsPlace place;      // in its group's frame
    int tab_index;
};

// Within each group in the order the buttons are read: the first selected
// one decides.
inline constexpr OptionControl kOptionControls[] = {
    {OptionButton::AM,
     OptionGroup::Mode,
     "AM",
     "AM",
     protocol::kModeAm,
     &ControlEvents::AM_Click,
     {240, 360, 975, 495},
     15},
    {OptionButton::FM,
     OptionGroup::Mode,
     "FM",
     "FM",
     protocol::kModeFm,
     &ControlEvents::FM_Click,
     {240, 720, 975, 495},
     10},
    {OptionButton::WFM,
     OptionGroup::Mode,
     "WFM",
     "WFM",
     protocol::kModeWfm,
     &ControlEvents::WFM_Click,
     {240, 1080, 975, 495},
     11},
    {OptionButton::USB,
     OptionGroup::Mode,
     "USB",
     "USB",
     protocol::kModeUsb,
     &ControlEvents::USB_Click,
     {240, 1440, 975, 495},
     12},
    {OptionButton::LSB,
     OptionGroup::Mode,
     "LSB",
     "LSB",
     protocol::kModeLsb,
     &ControlEvents::LSB_Click,
     {240, 1800, 975, 495},
     13},
    {OptionButton::CW,
     OptionGroup::Mode,
     "CW",
     "CW",
     protocol::kModeCw,
     &ControlEvents::CW_Click,
     {240, 2160, 975, 495},
     14},
    {OptionButton::Filter1,
     OptionGroup::Filter,
     "Filter1",
     "2.8 KHz",
     protocol::kFilter3k,
     &ControlEvents::Filter1_Click,
     {240, 360, 1575, 495},
     17},
    {OptionButton::Filter2,
     OptionGroup::Filter,
     "Filter2",
     "6 KHz",
     protocol::kFilter6k,
     &ControlEvents::Filter2_Click,
     {240, 720, 1575, 495},
     21},
    {OptionButton::Filter3,
     OptionGroup::Filter,
     "Filter3",
     "15 KHz",
     protocol::kFilter15k,
     &ControlEvents::Filter3_Click,
     {240, 1080, 1575, 495},
     20},
    {OptionButton::Filter4,
     OptionGroup::Filter,
     "Filter4",
     "50 KHz",
     protocol::kFilter50k,
     &ControlEvents::Filter4_Click,
     {240, 1440, 1575, 495},
     19},
    {OptionButton::Filter5,
     OptionGroup::Filter,
     "Filter5",
     "230 KHz",
     protocol::kFilter230k,
     &ControlEvents::Filter5_Click,
     {240, 1800, 1575, 495},
     18},
};

struct OptionFrame {
    OptionGroup group;
    const char* name;
    const char* caption;
    TwipsPlace place;
};
inline constexpr OptionFrame kOptionFrames[] = {
    {OptionGroup::Mode, "ModeFrame", "Mode", {5880, 4080, 1335, 2775}},
    {OptionGroup::Filter, "FilterFrame", "Filter", {7440, 4080, 1935, 2775}},
};

// ---- Receiver switches ---------------------------------------------------

struct SwitchControl {
    CheckBox box;
    const char* name;  // its name in the program and its caption
    const char* description;
    protocol::SwitchCommands commands;
    EventProcedure click;      // name + "_Click"
    PanelOperation operation;  // what its click and switching on call
    TwipsPlace place;          // over the "Improve Signal" frame
    int tab_index;
};

// In the order of CheckBox and of switching on.
inline constexpr SwitchControl kSwitchControls[] = {
    {CheckBox::AFC,
     "AFC",
     "Automatic frequency control",
     {"J5000", "J5001"},
     &ControlEvents::AFC_Click,
     &FrontPanel::SendAfc,
     {3720, 6000, 855, 255},
     27},
    {CheckBox::AGC,
     "AGC",
     "Automatic gain control",
     {"J4500", "J4501"},
     &ControlEvents::AGC_Click,
     &FrontPanel::SendAgc,
     {3720, 6360, 855, 255},
     30},
    {CheckBox::ATT,
     "ATT",
     "Attenuator",
     {"J4700", "J4701"},
     &ControlEvents::ATT_Click,
     &FrontPanel::SendAtt,
     {4680, 6000, 855, 255},
     28},
    {CheckBox::NB,
     "NB",
     "Noise blanker",
     {"J4600", "J4601"},
     &ControlEvents::NB_Click,
     &FrontPanel::SendNb,
     {4680, 6360, 855, 255},
     29},
};

inline constexpr std::size_t kLevelCount = std::size(kLevelControls);
inline constexpr std::size_t kOptionCount = std::size(kOptionControls);
inline constexpr std::size_t kSwitchCount = std::size(kSwitchControls);

// Each row stands at its control's index, so that a control's row is found
// by its enum.
template <typename Control, std::size_t N, typename Id>
constexpr bool InEnumOrder(const Control (&rows)[N], Id Control::*id) {
    for (std::size_t index = 0; index < N; ++index) {
        if (static_cast<std::size_t>(rows[index].*id) != index) return false;
    }
    return true;
}
static_assert(InEnumOrder(kLevelControls, &LevelControl::bar));
static_assert(InEnumOrder(kOptionControls, &OptionControl::button));
static_assert(InEnumOrder(kSwitchControls, &SwitchControl::box));

inline constexpr const LevelControl& Row(ScrollBar bar) { return kLevelControls[static_cast<std::size_t>(bar)]; }
inline constexpr const OptionControl& Row(OptionButton button) {
    return kOptionControls[static_cast<std::size_t>(button)];
}
inline constexpr const SwitchControl& Row(CheckBox box) { return kSwitchControls[static_cast<std::size_t>(box)]; }

}  // namespace velmo
