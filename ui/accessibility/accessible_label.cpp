// SPDX-FileCopyrightText: 2026 The Velmo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "accessible_label.h"

#include <QLabel>

#include "accessible_texts.h"
#include "tuning_steps.h"

namespace velmo::accessibility {

AccessibleLabel::AccessibleLabel(QLabel* label, LabelKind kind) : QAccessibleWidget(label), kind_(kind) {}

QLabel* AccessibleLabel::Label() const { return static_cast<QLabel*>(widget()); }

QColor AccessibleLabel::Background() const { return Label()->palette().color(QPalette::Window); }

QAccessible::Role AccessibleLabel::role() const { return QAccessible::StaticText; }

// As with any label, the name is what the label says, here in words; the
// description says what it is for.
QString AccessibleLabel::text(QAccessible::Text t) const {
    const QString shown = Label()->text();
    if (t == QAccessible::Name) {
        switch (kind_) {
            case LabelKind::Frequency: return QStringLiteral("Frequency ") + FrequencyInWords(shown);
            case LabelKind::Signal: return QStringLiteral("Signal ") + SignalInWords(SignalBarLength(shown));
            case LabelKind::SignalScale: return QStringLiteral("Signal scale");
            case LabelKind::ReceiverLamp: return LampInWords(Lamp::Receiver, LampIsOn(Background()));
            case LabelKind::ScannerLamp: return LampInWords(Lamp::Scanner, LampIsOn(Background()));
        }
    }
    if (t == QAccessible::Description) {
        switch (kind_) {
            case LabelKind::Frequency: return QStringLiteral("The frequency the receiver is tuned to");
            case LabelKind::Signal: return QStringLiteral("The signal strength as the length of a bar, 0 to 75");
            case LabelKind::SignalScale:
                return QStringLiteral("S 0 to S 9, then plus 20, 40 and 60 decibels, under the signal bar");
            case LabelKind::ReceiverLamp: return QStringLiteral("The lamp left of ON");
            case LabelKind::ScannerLamp: return QStringLiteral("The lamp right of SCAN");
        }
    }
    if (t == QAccessible::Value) {
        if (kind_ == LabelKind::Frequency) return FrequencyInWords(shown);
        if (kind_ == LabelKind::Signal) return SignalInWords(SignalBarLength(shown));
    }
    return {};
}

void* AccessibleLabel::interface_cast(QAccessible::InterfaceType type) {
    if (type == QAccessible::ValueInterface && HasValue()) return static_cast<QAccessibleValueInterface*>(this);
    return QAccessibleWidget::interface_cast(type);
}

QVariant AccessibleLabel::currentValue() const {
    if (kind_ == LabelKind::Signal) return SignalBarLength(Label()->text());
    if (const std::optional<double> megahertz = FrequencyInMegahertz(Label()->text())) return *megahertz;
    return {};
}

QVariant AccessibleLabel::maximumValue() const {
    return kind_ == LabelKind::Signal ? QVariant(kLongestSignalBar) : QVariant(kHighestFrequency);
}

QVariant AccessibleLabel::minimumValue() const {
    return kind_ == LabelKind::Signal ? QVariant(0) : QVariant(kLowestFrequency);
}

QVariant AccessibleLabel::minimumStepSize() const {
    return kind_ == LabelKind::Signal ? QVariant(1) : QVariant(0.000001);
}

}  // namespace velmo::accessibility
