// SPDX-FileCopyrightText: 2026 The Velmo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "panel_view.h"

// The panel's numbers: what the window shows when the program starts, how
// often its timers tick and how long it pauses. Timer intervals are in
// milliseconds, pauses in seconds, as the timers and Pause take them. The
// bounds of the reply wait and of the code lists are FrontPanel's own
// (kMaxReplyPauses, kQuietPauses, kMaxListEntries in front_panel.h).
namespace velmo::panel_numbers {

// --- Timers ---

// The signal poll (timer2) while the receiver is on and the scanner stopped:
// twice a second keeps the bar with the station, and a query and its answer
// (eleven characters) take the 9600-baud line for about 12 ms of each 500.
inline constexpr int kSignalPollMs = 500;
// The scanner's step (timer3). A step takes longer than this (its pauses
// and the squelch query), and a tick never starts while the last one runs,
// so the scanner steps as soon as the receiver has answered.
inline constexpr int kScanStepMs = 50;

// --- Pauses ---

// The wait after each command and query before what has come is read. It
// is shorter than a command and its answer take on the 9600-baud line (a
// tuning command alone takes about 20 ms), so the rest of a reply is
// gathered with up to kMaxReplyPauses more, or read by a later exchange.
inline constexpr double kReplyPauseSeconds = 0.01;
// How long the scanner holds on a busy channel: time to hear who is there.
// Any exchange started meanwhile ends the hold with its own pause.
inline constexpr double kScannerHoldSeconds = 6;

// --- Start-up settings ---

inline constexpr double kStartFrequencyMhz = 81.3;
// One of the steps of the tuning-step list (tuning_steps.h), as it is shown.
inline constexpr const char* kStartTuningStep = "100 KHz";
inline constexpr OptionButton kStartMode = OptionButton::WFM;
inline constexpr OptionButton kStartFilter = OptionButton::Filter5;
// The three level bars run from 0 to 255.
inline constexpr int kStartVolume = 100;
inline constexpr int kStartSquelch = 128;
inline constexpr int kStartIfShift = 80;

}  // namespace velmo::panel_numbers
