// SPDX-FileCopyrightText: 2026 The Velmo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "accessible_texts.h"

#include <QRegularExpression>

namespace velmo::accessibility {
namespace {

// Whole MHz, then the fraction in two groups of three digits: "###0.000.000".
const QRegularExpression kDisplayPattern(QStringLiteral("^\\s*(\\d+)\\.(\\d{3})\\.(\\d{3})\\s*$"));

// "81", "300000" -> "81.3"; "1300", "000000" -> "1300".
std::optional<QString> MegahertzDigits(const QString& display) {
    const QRegularExpressionMatch match = kDisplayPattern.match(display);
    if (!match.hasMatch()) return std::nullopt;
    QString whole = match.captured(1);
    QString fraction = match.captured(2) + match.captured(3);
    while (fraction.endsWith(QLatin1Char('0'))) fraction.chop(1);
    return fraction.isEmpty() ? whole : whole + QLatin1Char('.') + fraction;
}

}  // namespace

QString FrequencyInWords(const QString& display) {
    const std::optional<QString> digits = MegahertzDigits(display);
    return digits ? *digits + QStringLiteral(" MHz") : display.trimmed();
}

std::optional<double> FrequencyInMegahertz(const QString& display) {
    const std::optional<QString> digits = MegahertzDigits(display);
    if (!digits) return std::nullopt;
    return digits->toDouble();
}

int SignalBarLength(const QString& bar) { return static_cast<int>(bar.count(QLatin1Char('|'))); }

QString SignalInWords(int length) { return QStringLiteral("%1 of %2").arg(length).arg(kLongestSignalBar); }

bool LampIsOn(const QColor& background) { return background == QColor(0, 255, 0); }

QString LampInWords(Lamp lamp, bool on) {
    if (lamp == Lamp::Receiver) return on ? QStringLiteral("Receiver on") : QStringLiteral("Receiver off");
    return on ? QStringLiteral("Scanner running") : QStringLiteral("Scanner stopped");
}

}  // namespace velmo::accessibility
