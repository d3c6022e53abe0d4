// SPDX-FileCopyrightText: 2026 The Velmo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// The receiver's side of the serial line: every text the panel writes and
// every reply it looks at. Read this first. (The timings named are in
// panel_numbers.h; a test holds the command lines below to what the panel
// sends.)
//
// A session as it crosses the line (9600 baud, 8N1; "->" the panel writes,
// "<-" the receiver answers; every line ends in CR LF both ways):
//
//   Switching on, with the start-up settings
//     -> H101                  switch on
//     <- G000                  a command taken ("G001": one refused)
//     -> G300
//     <- G000
//     -> J4064                 volume 100, as two hexadecimal digits
//     -> J4180                 squelch 128
//     -> J4350                 IF shift 80
//     -> J5000                 AFC off (J5001 on)
//     -> J4500                 AGC off
//     -> J4700                 attenuator off
//     -> J4600                 noise blanker off
//     -> K00081300000060400    tune: "K0", 81.3 MHz as ten digits of hertz,
//     -> K00081300000060400    mode 06 (WFM), filter 04 (230 KHz), "00"
//     -> K00081300000060400
//        (each command's "G000" follows it, read within the next ones)
//
//   One tuning step (Page Up, a step of 100 KHz)
//     -> K00081400000060400
//     <- G000
//
//   The signal poll, while the scanner is stopped
//     -> I1?                   signal strength, every kSignalPollMs
//     <- I14C                  raw level 0x4C: a bar of 34
//
//   One scanner step that finds a busy channel
//     -> K00081500000060400    one step up, at most every kScanStepMs
//     <- G000
//     -> I0?                   squelch status
//     <- I007                  "07": open, someone is on the air
//     -> I1?                   its strength, for the bar
//     <- I15A
//                              then it holds on this channel for
//                              kScannerHoldSeconds before the next step
//
//   Switching off
//     -> H100
//     <- G000
//
// The two queries go straight to the line and are not listed among the
// commands sent; every reply is listed, cut into codes of four characters,
// each behind the marker of its first two characters.
//
// The receiver answers every line with one line, in order. Across a network
// or a Bluetooth link an answer comes a round trip later, often read by a
// later exchange; the panel matches each answer to its question
// (answer_book.h), so the scanner and the meter decide on their own.
//
// Switching on sends the tuning command three times on purpose: the mode and
// the filter travel inside it, so choosing the mode and choosing the filter
// each retune, and the frequency is then sent once more. Switching on runs
// the same operations as the user's own changes, and the receiver simply
// tunes to the same place again; do not merge them.

namespace velmo::protocol {

// The line: 9600 baud, no parity, 8 data bits, 1 stop bit.
inline constexpr char kLineSettings[] = "9600,N,8,1";

// Power.
inline constexpr char kSwitchOn[] = "H101";
inline constexpr char kAfterSwitchOn[] = "G300";
inline constexpr char kSwitchOff[] = "H100";

// Tuning: kTune + ten digits of hertz + mode code + filter code + kTuneEnd.
inline constexpr char kTune[] = "K0";
inline constexpr char kTuneEnd[] = "00";

// Mode codes; no mode uses "04".
inline constexpr char kModeLsb[] = "00";
inline constexpr char kModeUsb[] = "01";
inline constexpr char kModeAm[] = "02";
inline constexpr char kModeCw[] = "03";
inline constexpr char kModeFm[] = "05";
inline constexpr char kModeWfm[] = "06";

// Filter codes, narrowest first: 3, 6, 15, 50 and 230 KHz.
inline constexpr char kFilter3k[] = "00";
inline constexpr char kFilter6k[] = "01";
inline constexpr char kFilter15k[] = "02";
inline constexpr char kFilter50k[] = "03";
inline constexpr char kFilter230k[] = "04";

// Levels: the command + the level (0 to 255) as two hexadecimal digits.
inline constexpr char kVolume[] = "J40";
inline constexpr char kSquelch[] = "J41";
inline constexpr char kIfShift[] = "J43";

// Switches, off and on.
struct SwitchCommands {
    const char* off;
    const char* on;
};
// Each switch's pair is in its row of the panel's switches (panel_controls.h).

// The two queries, and the code their answer starts with: the squelch status
// ("I0" + two digits, kSquelchOpen when someone is on the air) and the
// signal strength ("I1" + two hexadecimal digits).
inline constexpr char kSquelchQuery[] = "I0?";
inline constexpr char kSquelchAnswer[] = "I0";
inline constexpr char kSquelchOpen[] = "07";
inline constexpr char kSignalQuery[] = "I1?";
inline constexpr char kSignalAnswer[] = "I1";

// The receiver's answer to a command: "G0" + two digits, "G000" taken.
inline constexpr char kAcknowledgement[] = "G0";

// How the reply list marks a code by its first two characters, tried in
// this order, exact and case-sensitive; any other code is listed as it came.
inline constexpr char kAcknowledgementMarker[] = "-> ";
inline constexpr char kSignalMarker[] = "-----> ";
inline constexpr char kSquelchMarker[] = "---------> ";
struct MarkedCode {
    const char* head;
    const char* marker;
};
inline constexpr MarkedCode kReplyMarkers[] = {
    {kAcknowledgement, kAcknowledgementMarker},
    {kSignalAnswer, kSignalMarker},
    {kSquelchAnswer, kSquelchMarker},
};

}  // namespace velmo::protocol
