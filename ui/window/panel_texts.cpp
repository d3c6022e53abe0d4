// SPDX-FileCopyrightText: 2026 The Velmo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "panel_texts.h"

#include "signal_reading.h"
#include "tuning_steps.h"

namespace velmo {

QStringList TuningStepEntries() {
    QStringList entries;
    for (const auto& step : kTuningSteps) {
        entries.append(QString::fromLatin1(step.text.data(), static_cast<qsizetype>(step.text.size())));
    }
    return entries;
}

QString FullSignalBar() { return QString::fromStdString(SignalBarText(kLongestBar)); }

QString SignalScaleText() {
    QString scale = QStringLiteral("   0");
    for (char digit = '1'; digit <= '9'; ++digit) {
        scale += QString(10, QLatin1Char(' ')) + QLatin1Char(digit);
    }
    for (const char* decibels : {"+20", "+40", "+60"}) {
        scale += QString(6, QLatin1Char(' ')) + QLatin1String(decibels);
    }
    return scale;
}

}  // namespace velmo
