// SPDX-FileCopyrightText: 2026 The Velmo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QAccessibleWidget>

class QComboBox;

namespace velmo::accessibility {

// The tuning-step box for assistive technology. Qt's own interface for a
// combo box names it, on Linux, by its current text ("10 KHz"), leaving a
// listener to guess what the number is; this one names it by its accessible
// name ("Tuning step") and gives the text as its value. Its parts are Qt's
// own: the drop-down list and the text being edited.
class AccessibleStepBox final : public QAccessibleWidget {
public:
    explicit AccessibleStepBox(QComboBox* box);

    QString text(QAccessible::Text t) const override;
    QAccessible::State state() const override;
    int childCount() const override;
    QAccessibleInterface* child(int index) const override;
    int indexOfChild(const QAccessibleInterface* child) const override;

    // Opening the drop-down list, besides what every widget offers.
    QStringList actionNames() const override;
    void doAction(const QString& action_name) override;

private:
    QComboBox* Box() const;
};

}  // namespace velmo::accessibility
