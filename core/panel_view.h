// SPDX-FileCopyrightText: 2026 The Velmo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <cstdint>
#include <string>

#include "panel_controls.h"

namespace velmo {

struct Rgb {
    std::uint8_t red = 0;
    std::uint8_t green = 0;
    std::uint8_t blue = 0;
    friend bool operator==(const Rgb&, const Rgb&) = default;
};

inline constexpr Rgb kRed{255, 0, 0};
inline constexpr Rgb kGreen{0, 255, 0};
inline constexpr Rgb kBlue{0, 0, 255};

enum class Indicator { OnOffLabel, ScanLabel };
enum class CodeList { CodesOut, CodesIn };

// Thrown by PanelView::EndProgram(); caught only by the event procedures.
struct ProgramEnded {};

// Check-box states as the toolkit reports them.
inline constexpr int kUnchecked = 0;
inline constexpr int kChecked = 1;
inline constexpr int kGrayed = 2;

// The controls the panel's operations read and write.
//
// Like a real toolkit, setting a value raises the same event as the user's
// change: a scroll bar or check box only on a real change, an option button
// only for the button that becomes selected. Those events call straight back
// into the panel, so a setter may run a whole operation before it returns.
class PanelView {
public:
    virtual ~PanelView() = default;

    virtual int ScrollValue(ScrollBar bar) const = 0;
    virtual void SetScrollValue(ScrollBar bar, int value) = 0;
    // The caption of the frame drawn around a scroll bar.
    virtual void SetFrameCaption(ScrollBar bar, const std::string& caption) = 0;

    virtual bool OptionSelected(OptionButton button) const = 0;
    virtual void SetOptionSelected(OptionButton button, bool selected) = 0;

    virtual int CheckState(CheckBox box) const = 0;
    virtual void SetCheckState(CheckBox box, int state) = 0;

    virtual std::string TuningStepText() const = 0;
    virtual void SetTuningStepText(const std::string& text) = 0;

    virtual void SetFrequencyDisplay(const std::string& text) = 0;
    virtual void SetIndicator(Indicator indicator, Rgb background) = 0;
    virtual void SetSignalBar(const std::string& caption, Rgb text_colour) = 0;

    virtual void AppendListEntry(CodeList list, const std::string& entry) = 0;
    virtual void RemoveOldestListEntry(CodeList list) = 0;
    virtual int ListCount(CodeList list) const = 0;
    virtual void SetListTopIndex(CodeList list, int index) = 0;

    // Modal; returns the typed text, or an empty text on Cancel.
    virtual std::string InputBox(const std::string& prompt, const std::string& title,
                                 const std::string& default_text) = 0;

    // Lets pending events run (clicks, keys, timer ticks); may block until
    // one arrives.
    virtual void DoEvents() = 0;
    // Ends the program at once: nothing more runs and nothing is sent.
    // Never returns: it throws ProgramEnded, and so does every DoEvents()
    // after it, so that every operation in progress unwinds to its event
    // procedure without another step.
    [[noreturn]] virtual void EndProgram() = 0;
};

}  // namespace velmo
