// SPDX-FileCopyrightText: 2026 The Velmo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "code_list_box.h"

#include <QAccessible>
#include <QEvent>
#include <QItemSelectionModel>
#include <QScrollBar>
#include <QSignalBlocker>
#include <algorithm>
#include <utility>

namespace velmo {

CodeListBox::CodeListBox(int capacity, QWidget* parent) : QListView(parent), entries_(capacity) {
    setModel(&entries_);
    setUniformItemSizes(true);  // keeps thousands of entries cheap
    connect(&entries_, &CodeListModel::EntriesShifted, this, &CodeListBox::FollowShift);
    const auto rows_changed = [this] { RowsLaidOutAgain(); };
    connect(&entries_, &QAbstractItemModel::rowsInserted, this, rows_changed);
    connect(&entries_, &QAbstractItemModel::rowsRemoved, this, rows_changed);
}

void CodeListBox::doItemsLayout() {
    // Laid out on a grid of the newest row's size, the rows stand where a
    // list of uniform rows puts them (at the size of its last row), but the
    // layout no longer asks each of thousands of rows for its size: while
    // the lists fill, every step lays them all out again. A change of that
    // size lays the rows out once more, later.
    setGridSize(NewestRowSize());
    QListView::doItemsLayout();
    layout_pending_ = false;
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

void CodeListBox::RowsLaidOutAgain() {
    layout_pending_ = true;
    // The list takes its rows' size anew from the entry it is scrolled to.
    row_size_ = NewestRowSize();
}

void CodeListBox::dataChanged(const QModelIndex& top_left, const QModelIndex& bottom_right, const QList<int>& roles) {
    // The entries' only change is a shift by one row. A plain list view lays
    // all of its rows out again for changed data, at the size of the newest
    // row, scrolled to. Unless the newest row's size changes that (in height,
    // or in a width that does not fit), the rows stay where they are and are
    // only painted again, and a screen reader is told as the view would.
    if (layout_pending_ || !SameLayout(NewestRowSize())) {
        QListView::dataChanged(top_left, bottom_right, roles);
        RowsLaidOutAgain();
        return;
    }
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

bool CodeListBox::SameLayout(const QSize& row_size) const {
    if (!row_size.isValid() || row_size.height() != row_size_.height()) return false;
    // Rows narrower than the list are as wide as the list.
    return row_size.width() == row_size_.width() ||
           std::max(row_size.width(), row_size_.width()) <= viewport()->width();
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
    // Scrolling costs as much as the list is long, even when it moves
    // nothing. A full list taking entries keeps its rows and its range, so
    // the newest entry asked for at the top, with the list scrolled as far
    // as it goes, is where scrolling would leave it.
    const QScrollBar* bar = verticalScrollBar();
    if (!layout_pending_ && row == Count() - 1 && bar->value() == bar->maximum()) return;
    scrollTo(entries_.index(row), QAbstractItemView::PositionAtTop);
}

}  // namespace velmo
