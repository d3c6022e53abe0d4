// SPDX-FileCopyrightText: 2026 The Velmo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QHash>
#include <QListView>
#include <QPersistentModelIndex>

#include "code_list_model.h"

namespace velmo {

// A list of the codes sent or received, newest last, that keeps at most
// `capacity` entries. It looks and behaves as a plain list of items would:
// when a full list drops its oldest entry, a selected entry stays selected
// as it moves up, and one dropped hands its selection on as Qt's lists do.
//
// Its rows are all of one size, the size of the newest row, one under
// another, scrolled a row at a time. A plain list view lays every row out
// again for each entry added, which while the lists fill during a scan is
// most of the scanner's step; this one knows where row N stands without
// that, and so places, finds, scrolls to and paints its rows itself (in
// code_list_box_rows.cpp), as the plain list does. It stays a list view,
// so that screen readers meet it as a list.
class CodeListBox final : public QListView {
    Q_OBJECT
public:
    CodeListBox(int capacity, QWidget* parent = nullptr);

    void Append(const QString& entry) { entries_.Append(entry); }
    void RemoveOldest() { entries_.RemoveOldest(); }
    int Count() const { return entries_.Count(); }
    QString Entry(int row) const { return entries_.Entry(row); }
    const CodeListModel& Entries() const { return entries_; }

    // Scrolls entry `row` to the top, as far as the list goes, when events
    // next run: of a burst of entries (a flood of replies read at once)
    // only the last position asked for is ever seen.
    void ShowAtTop(int row);

    QRect visualRect(const QModelIndex& index) const override;
    void scrollTo(const QModelIndex& index, ScrollHint hint = EnsureVisible) override;
    QModelIndex indexAt(const QPoint& point) const override;
    void doItemsLayout() override;

protected:
    void changeEvent(QEvent* event) override;
    void dataChanged(const QModelIndex& top_left, const QModelIndex& bottom_right,
                     const QList<int>& roles = QList<int>()) override;
    void rowsInserted(const QModelIndex& parent, int start, int end) override;
    void rowsAboutToBeRemoved(const QModelIndex& parent, int start, int end) override;
    void currentChanged(const QModelIndex& current, const QModelIndex& previous) override;
    void selectionChanged(const QItemSelection& selected, const QItemSelection& deselected) override;

    QModelIndex moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers) override;
    int horizontalOffset() const override;
    int verticalOffset() const override;
    void scrollContentsBy(int dx, int dy) override;
    void setSelection(const QRect& rect, QItemSelectionModel::SelectionFlags command) override;
    QRegion visualRegionForSelection(const QItemSelection& selection) const override;
    void updateGeometries() override;
    void paintEvent(QPaintEvent* event) override;
    bool viewportEvent(QEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void verticalScrollbarValueChanged(int value) override;
    void horizontalScrollbarValueChanged(int value) override;

private:
    // Rows first to last, both included; empty when last < first.
    struct RowSpan {
        int first = 0;
        int last = -1;
        bool Empty() const { return last < first; }
    };

    QSize NewestRowSize() const;
    void FollowShift();
    void ScrollToPendingTop();

    // Where the rows stand, in the list's own coordinates (not scrolled).
    int RowWidth() const;
    QRect RowRect(int row) const;
    // The rows that `area` (in the list's coordinates) meets, as a plain
    // list finds them: its left edge and the rows' widths do not count.
    RowSpan RowsMeeting(const QRect& area) const;
    // Of rows `span`, the one nearest `target` (the list's coordinates).
    int NearestRow(const QRect& target, RowSpan span) const;
    int LastRowMeeting(const QPoint& point) const;
    // The scroll bar value that shows `row` as `hint` asks.
    int VerticalValueFor(int row, const QRect& shown_at, ScrollHint hint) const;
    int PageMove(int current, bool down) const;
    void FollowHover(const QPoint& point);
    void SetHover(const QModelIndex& under);
    void LayOutIfDue() const;

    CodeListModel entries_;
    int pending_top_ = -1;  // -1: no scroll waiting
    // The size of every row: the newest row's when the rows were last
    // laid out.
    QSize row_size_;
    // The entry under the mouse, as the list last saw it.
    QPersistentModelIndex hover_;
    // The sizes of rows already measured, by their text: the replies repeat
    // a few texts, and measuring a row shapes its text. Few are kept: the
    // signal readings bring new texts now and then for hours, and a bigger
    // store would grow with them for as long.
    static constexpr qsizetype kMeasuredTexts = 32;
    mutable QHash<QString, QSize> measured_;
};

}  // namespace velmo
