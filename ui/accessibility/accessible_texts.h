// SPDX-FileCopyrightText: 2026 The Velmo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QColor>
#include <QString>
#include <optional>

namespace velmo::accessibility {

// The words a screen reader is given for what the panel shows only as digit
// groups, colours and bar lengths. Each is worked out from what the control
// shows, so what is heard never differs from what is seen.

// "81.300.000" -> "81.3 MHz": the display's digit groups read as one number
// in MHz, without the zeros a voice would otherwise read out one by one.
QString FrequencyInWords(const QString& display);
// The same number, for the display's value; nothing for a text that is not
// a frequency display.
std::optional<double> FrequencyInMegahertz(const QString& display);

// The bar's length: the number of bar characters after its leading blank.
int SignalBarLength(const QString& bar);
inline constexpr int kLongestSignalBar = 75;
// "32 of 75".
QString SignalInWords(int length);

// The indicator strips tell their state by colour alone: green is on.
enum class Lamp { Receiver, Scanner };
bool LampIsOn(const QColor& background);
QString LampInWords(Lamp lamp, bool on);

}  // namespace velmo::accessibility
