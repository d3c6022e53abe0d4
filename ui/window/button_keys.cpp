// SPDX-FileCopyrightText: 2026 The Velmo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "button_keys.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QKeyEvent>

namespace velmo {

void EnterClicks::Watch(QAbstractButton* button) { button->installEventFilter(this); }

bool EnterClicks::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::KeyPress) return false;
    const auto* key = static_cast<QKeyEvent*>(event);
    if (key->key() != Qt::Key_Return && key->key() != Qt::Key_Enter) return false;
    if ((key->modifiers() & ~Qt::KeypadModifier) != Qt::NoModifier) return false;
    auto* button = qobject_cast<QAbstractButton*>(watched);
    if (button == nullptr || !button->isEnabled()) return false;
    if (!key->isAutoRepeat()) button->click();
    return true;
}

OptionGroupKeys::OptionGroupKeys(QButtonGroup* group) : QObject(group), group_(group) {
    for (QAbstractButton* button : group->buttons()) {
        button->installEventFilter(this);
        // Made before the window's own handlers, so the stop has moved
        // before a click's exchange lets other events run.
        connect(button, &QAbstractButton::toggled, this, [this] { MoveTabStop(); });
    }
    MoveTabStop();
}

void OptionGroupKeys::MoveTabStop() {
    const QList<QAbstractButton*> buttons = group_->buttons();
    if (buttons.isEmpty()) return;
    QAbstractButton* stop = group_->checkedButton() ? group_->checkedButton() : buttons.front();
    for (QAbstractButton* button : buttons) button->setFocusPolicy(button == stop ? Qt::StrongFocus : Qt::ClickFocus);
}

bool OptionGroupKeys::eventFilter(QObject* watched, QEvent* event) {
    auto* button = qobject_cast<QAbstractButton*>(watched);
    if (button == nullptr) return false;
    // Qt hands Tab to whichever button of the group last had the focus;
    // once the focus has left, the stop goes back to the selected one.
    if (event->type() == QEvent::FocusOut) {
        MoveTabStop();
        return false;
    }
    if (event->type() != QEvent::KeyPress) return false;
    switch (static_cast<QKeyEvent*>(event)->key()) {
        case Qt::Key_Up:
        case Qt::Key_Left: Step(button, -1); return true;
        case Qt::Key_Down:
        case Qt::Key_Right: Step(button, 1); return true;
        default: return false;
    }
}

void OptionGroupKeys::Step(QAbstractButton* from, int direction) {
    const QList<QAbstractButton*> buttons = group_->buttons();
    const auto count = buttons.size();
    const auto start = buttons.indexOf(from);
    if (start < 0) return;
    for (qsizetype i = 1; i < count; ++i) {
        QAbstractButton* next = buttons.at(((start + direction * i) % count + count) % count);
        if (!next->isEnabled() || next->isHidden()) continue;
        // The focus first: the click's exchange lets other events run.
        next->setFocus(direction > 0 ? Qt::TabFocusReason : Qt::BacktabFocusReason);
        next->click();
        return;
    }
}

}  // namespace velmo
