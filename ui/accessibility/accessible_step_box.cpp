// SPDX-FileCopyrightText: 2026 The Velmo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "accessible_step_box.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QLineEdit>

namespace velmo::accessibility {

AccessibleStepBox::AccessibleStepBox(QComboBox* box) : QAccessibleWidget(box, QAccessible::ComboBox) {}

QComboBox* AccessibleStepBox::Box() const { return static_cast<QComboBox*>(widget()); }

QString AccessibleStepBox::text(QAccessible::Text t) const {
    if (t == QAccessible::Value) return Box()->currentText();
    return QAccessibleWidget::text(t);
}

QAccessible::State AccessibleStepBox::state() const {
    QAccessible::State state = QAccessibleWidget::state();
    state.editable = Box()->isEditable();
    state.expandable = true;
    state.expanded = Box()->view()->isVisible();
    return state;
}

// The list first, then the text, as Qt orders a combo box's parts.
int AccessibleStepBox::childCount() const { return Box()->lineEdit() ? 2 : 1; }

QAccessibleInterface* AccessibleStepBox::child(int index) const {
    if (index == 0) return QAccessible::queryAccessibleInterface(Box()->view());
    if (index == 1 && Box()->lineEdit()) return QAccessible::queryAccessibleInterface(Box()->lineEdit());
    return nullptr;
}

int AccessibleStepBox::indexOfChild(const QAccessibleInterface* child) const {
    for (int index = 0; index < childCount(); ++index) {
        if (this->child(index) == child) return index;
    }
    return -1;
}

QStringList AccessibleStepBox::actionNames() const {
    return QStringList{showMenuAction()} + QAccessibleWidget::actionNames();
}

void AccessibleStepBox::doAction(const QString& action_name) {
    if (action_name == showMenuAction() || action_name == pressAction()) {
        Box()->view()->isVisible() ? Box()->hidePopup() : Box()->showPopup();
        return;
    }
    QAccessibleWidget::doAction(action_name);
}

}  // namespace velmo::accessibility
