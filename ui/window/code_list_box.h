// SPDX-FileCopyrightText: 2026 The Velmo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QHash>
#include <QListView>

#include "code_list_model.h"

namespace velmo {

// A list of the codes sent or received, newest last, that keeps at most
// `capacity` entries. It looks and behaves as a plain list of items would:
// when a full list drops its oldest entry, a selected entry stays selected
// as it moves up, and one dropped hands its selection on as Qt's lists do.
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
    // next run. Scrolling walks the whole list, which for a burst of entries
    // (a flood of replies read at once) would cost that much per entry and
    // hold up the exchange; only the last position asked for is ever seen.
    void ShowAtTop(int row);

    void doItemsLayout() override;

protected:
    void changeEvent(QEvent* event) override;
    void dataChanged(const QModelIndex& top_left, const QModelIndex& bottom_right,
                     const QList<int>& roles = QList<int>()) override;

private:
    QSize NewestRowSize() const;
    // The list is to lay its rows out again, at the newest row's size.
    void RowsLaidOutAgain();
    // Whether rows laid out at `row_size` stand as they do now.
    bool SameLayout(const QSize& row_size) const;
    void FollowShift();
    void ScrollToPendingTop();

    CodeListModel entries_;
    int pending_top_ = -1;  // -1: no scroll waiting
    // The list is to be laid out again before it is next shown, so its scroll
    // range may not yet take its rows in.
    bool layout_pending_ = false;
    // With rows of one size, the list lays out every row at the size of the
    // row it was scrolled to when it last laid out.
    QSize row_size_;
    // The sizes of rows already measured, by their text: the replies repeat
    // a few texts, and measuring a row shapes its text. Few are kept: the
    // signal readings bring new texts now and then for hours, and a bigger
    // store would grow with them for as long.
    static constexpr qsizetype kMeasuredTexts = 32;
    mutable QHash<QString, QSize> measured_;
};

}  // namespace velmo
