// SPDX-FileCopyrightText: 2026 The Velmo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "code_list_box.h"

#include <QAccessible>
#include <QEvent>
#include <QItemSelectionModel>
#include <QSignalBlocker>
#include <utility>

namespace velmo {

CodeListBox::CodeListBox(int capacity, QWidget* parent) : QListView(parent), entries_(capacity) {
    // The rows are placed a row at a time down the list, as a plain list
    // does on every platform it runs on here.
    setVerticalScrollMode(ScrollPerItem);
    setModel(&entries_);
    connect(&entries_, &CodeListModel::EntriesShifted, this, &CodeListBox::FollowShift);
}

void CodeListBox::doItemsLayout() {
    // A plain list lays its rows out at the size of its newest row; here
    // that size is all there is to lay out. Showing or hiding a scroll bar
    // resizes the list, which is not to lay it out once more.
    const State state_before = state();
    setState(ExpandingState);
    row_size_ = NewestRowSize();
    QAbstractItemView::doItemsLayout();
    setState(state_before);
}

QSize CodeListBox::NewestRowSize() const {
    if (Count() == 0) return {};
    const QString text = entries_.Entry(Count() - 1);
    const auto known = measured_.constFind(text);
    if (known != measured_.cend()) return *known;
    const QSize size = sizeHintForIndex(entries_.index(Count() - 1));
    if (measured_.size() >= kMeasuredTexts) measured_.clear();
    measured_.insert(text, size);
    return size;
}

void CodeListBox::changeEvent(QEvent* event) {
    // What a row measures depends on the font and the style.
    switch (event->type()) {
        case QEvent::FontChange:
        case QEvent::StyleChange:
        case QEvent::LocaleChange:
        case QEvent::LayoutDirectionChange: measured_.clear(); break;
        default: break;
    }
    QListView::changeEvent(event);
}

void CodeListBox::rowsInserted(const QModelIndex& parent, int start, int end) {
    scheduleDelayedItemsLayout();
    QAbstractItemView::rowsInserted(parent, start, end);
}

void CodeListBox::rowsAboutToBeRemoved(const QModelIndex& parent, int start, int end) {
    QAbstractItemView::rowsAboutToBeRemoved(parent, start, end);
    scheduleDelayedItemsLayout();
}

void CodeListBox::dataChanged(const QModelIndex& top_left, const QModelIndex& bottom_right, const QList<int>& roles) {
    Q_UNUSED(roles);
    // The entries' only change is a shift by one row: every row is painted
    // again, and a screen reader is told, as by a plain list. The rows take
    // the newest row's size, which is seldom another.
    if (NewestRowSize() != row_size_) scheduleDelayedItemsLayout();
    viewport()->update();
#if QT_CONFIG(accessibility)
    if (QAccessible::isActive()) {
        QAccessibleTableModelChangeEvent changed(this, QAccessibleTableModelChangeEvent::DataChanged);
        changed.setFirstRow(top_left.row());
        changed.setFirstColumn(top_left.column());
        changed.setLastRow(bottom_right.row());
        changed.setLastColumn(bottom_right.column());
        QAccessible::updateAccessibility(&changed);
    }
#endif
}

// A plain list tells a screen reader which of its entries became current or
// (de)selected by the entry's place among its laid-out rows, which are
// this list's rows in order.
void CodeListBox::currentChanged(const QModelIndex& current, const QModelIndex& previous) {
    QAbstractItemView::currentChanged(current, previous);
#if QT_CONFIG(accessibility)
    if (QAccessible::isActive() && current.isValid()) {
        QAccessibleEvent focus(this, QAccessible::Focus);
        focus.setChild(current.row());
        QAccessible::updateAccessibility(&focus);
    }
#endif
}

void CodeListBox::selectionChanged(const QItemSelection& selected, const QItemSelection& deselected) {
#if QT_CONFIG(accessibility)
    if (QAccessible::isActive()) {
        const QModelIndex added = selected.indexes().value(0);
        if (added.isValid()) {
            QAccessibleEvent event(this, QAccessible::SelectionAdd);
            event.setChild(added.row());
            QAccessible::updateAccessibility(&event);
        }
        const QModelIndex removed = deselected.indexes().value(0);
        if (removed.isValid()) {
            QAccessibleEvent event(this, QAccessible::SelectionRemove);
            event.setChild(removed.row());
            QAccessible::updateAccessibility(&event);
        }
    }
#endif
    QAbstractItemView::selectionChanged(selected, deselected);
}

void CodeListBox::FollowShift() {
    QItemSelectionModel* selection = selectionModel();
    const QModelIndex current = currentIndex();
    if (!current.isValid() && !selection->hasSelection()) return;
    // The selection and the current entry move up with their entries. A
    // plain list tells of the selection moved, not of the current entry.
    QItemSelection moved;
    for (const QModelIndex& row : selection->selectedIndexes()) {
        if (row.row() > 0) moved.select(entries_.index(row.row() - 1), entries_.index(row.row() - 1));
    }
    if (current.isValid() && current.row() > 0) {
        const QSignalBlocker quietly(selection);
        selection->setCurrentIndex(entries_.index(current.row() - 1), QItemSelectionModel::NoUpdate);
    }
    if (selection->hasSelection()) selection->select(moved, QItemSelectionModel::ClearAndSelect);
    viewport()->update();
    if (!current.isValid() || current.row() > 0) return;
    // The current entry was dropped: it passes to the entry after it, now
    // the first, and in a list that selects one entry that is selected too,
    // as a plain list does. The list is not scrolled up to it: it is about
    // to show its newest entry.
    const bool auto_scroll = hasAutoScroll();
    setAutoScroll(false);
    {
        // Row 0 is now another entry: the current entry does change.
        const QSignalBlocker quietly(selection);
        selection->clearCurrentIndex();
    }
    if (selectionMode() == QAbstractItemView::SingleSelection) {
        setCurrentIndex(entries_.index(0));
    } else {
        selection->setCurrentIndex(entries_.index(0), QItemSelectionModel::NoUpdate);
    }
    setAutoScroll(auto_scroll);
}

void CodeListBox::ShowAtTop(int row) {
    const bool scheduled = pending_top_ >= 0;
    pending_top_ = row;
    if (!scheduled) QMetaObject::invokeMethod(this, &CodeListBox::ScrollToPendingTop, Qt::QueuedConnection);
}

void CodeListBox::ScrollToPendingTop() {
    const int row = std::exchange(pending_top_, -1);
    if (row < 0 || row >= Count()) return;
    scrollTo(entries_.index(row), QAbstractItemView::PositionAtTop);
}

}  // namespace velmo
