// SPDX-FileCopyrightText: 2026 The Velmo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QAccessibleValueInterface>
#include <QAccessibleWidget>

class QLabel;

namespace velmo::accessibility {

// What one of the panel's display labels is, for assistive technology.
enum class LabelKind { Frequency, Signal, SignalScale, ReceiverLamp, ScannerLamp };

// The accessible face of a display label whose text alone says nothing to a
// listener: the frequency display (digit groups), the signal bar (a row of
// bar characters), its scale (a string of numbers) and the two indicator
// strips (no text, a colour). It gives each a name that says what it is and
// its state in words; the frequency and the signal also give a value.
class AccessibleLabel final : public QAccessibleWidget, public QAccessibleValueInterface {
public:
    AccessibleLabel(QLabel* label, LabelKind kind);

    QAccessible::Role role() const override;
    QString text(QAccessible::Text t) const override;
    void* interface_cast(QAccessible::InterfaceType type) override;

    // A display only shows its value; it cannot be set from outside.
    QVariant currentValue() const override;
    void setCurrentValue(const QVariant&) override {}
    QVariant maximumValue() const override;
    QVariant minimumValue() const override;
    QVariant minimumStepSize() const override;

private:
    QLabel* Label() const;
    QColor Background() const;
    bool HasValue() const { return kind_ == LabelKind::Frequency || kind_ == LabelKind::Signal; }

    LabelKind kind_;
};

}  // namespace velmo::accessibility
