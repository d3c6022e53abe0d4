// SPDX-FileCopyrightText: 2026 The Velmo developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Where a code list's rows stand, and how they are found, scrolled to,
// selected and painted. The rows are of one size and stand one under
// another from the top; the list scrolls down a row at a time and across a
// pixel at a time. Each answer is the one a plain list view gives for such
// rows, worked out from the row's number instead of from every row laid
// out: the lists' tests compare the two, pixel for pixel.

#include <QCursor>
#include <QHoverEvent>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QScrollBar>
#include <algorithm>
#include <climits>
#include <cstdlib>

#include "code_list_box.h"

namespace velmo {

int CodeListBox::RowWidth() const {
    // Rows narrower than the list are as wide as the list.
    return std::max(row_size_.width(), viewport()->width());
}

QRect CodeListBox::RowRect(int row) const { return {0, row * row_size_.height(), RowWidth(), row_size_.height()}; }

CodeListBox::RowSpan CodeListBox::RowsMeeting(const QRect& area) const {
    const int rows = Count();
    const int height = row_size_.height();
    if (rows == 0 || height <= 0 || area.right() < 0 || area.top() > rows * height) return {};
    // An area below the last row still meets it, as in a plain list.
    const int first = area.top() < 0 ? 0 : std::min(area.top() / height, rows - 1);
    if (area.bottom() < first * height) return {};
    return {first, std::min(rows - 1, area.bottom() / height)};
}

int CodeListBox::LastRowMeeting(const QPoint& point) const {
    const RowSpan span = RowsMeeting(QRect(point, QSize(1, 1)));
    return span.Empty() ? -1 : span.last;
}

int CodeListBox::NearestRow(const QRect& target, RowSpan span) const {
    int nearest = -1;
    int shortest = INT_MAX;
    const QPoint centre = target.center();
    for (int row = span.first; row <= span.last; ++row) {
        const QRect rect = RowRect(row);
        int distance = 0;
        if ((centre.x() >= rect.x() && centre.x() < rect.right()) ||
            (rect.center().x() >= target.x() && rect.center().x() < target.right())) {
            distance = std::abs(rect.center().y() - centre.y());
        } else if ((centre.y() >= rect.y() && centre.y() < rect.bottom()) ||
                   (rect.center().y() >= target.y() && rect.center().y() < target.bottom())) {
            distance = std::abs(rect.center().x() - centre.x());
        } else {
            distance = (rect.center() - centre).manhattanLength();
        }
        if (distance < shortest) {
            shortest = distance;
            nearest = row;
        }
    }
    return nearest;
}

void CodeListBox::LayOutIfDue() const {
    // Rows added or removed, or a row of another size, change where the
    // rows stand once the list lays them out; any answer about them waits
    // for that, as a plain list's does.
    const_cast<CodeListBox*>(this)->executeDelayedItemsLayout();
}

QRect CodeListBox::visualRect(const QModelIndex& index) const {
    if (!index.isValid() || index.model() != &entries_ || index.column() != modelColumn() || index.row() >= Count()) {
        return {};
    }
    LayOutIfDue();
    return RowRect(index.row()).translated(-horizontalOffset(), -verticalOffset());
}

QModelIndex CodeListBox::indexAt(const QPoint& point) const {
    LayOutIfDue();
    const int row = LastRowMeeting(point + QPoint(horizontalOffset(), verticalOffset()));
    if (row < 0) return {};
    const QModelIndex index = entries_.index(row);
    return visualRect(index).contains(point) ? index : QModelIndex();
}

int CodeListBox::horizontalOffset() const {
    const QScrollBar* bar = horizontalScrollBar();
    return isRightToLeft() ? bar->maximum() - bar->value() : bar->value();
}

int CodeListBox::verticalOffset() const {
    // The bar's range keeps it within the rows.
    return Count() == 0 ? 0 : verticalScrollBar()->value() * row_size_.height();
}

void CodeListBox::updateGeometries() {
    QScrollBar* across = horizontalScrollBar();
    QScrollBar* down = verticalScrollBar();
    const int rows = Count();
    if (geometry().isEmpty() || rows <= 0) {
        across->setRange(0, 0);
        down->setRange(0, 0);
    } else {
        const QSize contents(row_size_.width(), rows * row_size_.height());
        // Across, a pixel at a time. With both bars shown as needed, the
        // one across is not to be shown only because the other takes room.
        across->setSingleStep(row_size_.width());
        across->setPageStep(viewport()->width());
        const QSize room = contentsRect().marginsRemoved(viewportMargins()).size();
        const bool down_wanted = contents.height() > room.height();
        const bool across_wanted = contents.width() > room.width() - (down_wanted ? down->width() : 0);
        const bool both_as_needed =
            verticalScrollBarPolicy() == Qt::ScrollBarAsNeeded && horizontalScrollBarPolicy() == Qt::ScrollBarAsNeeded;
        across->setRange(0, both_as_needed && !across_wanted ? 0 : contents.width() - viewport()->width());
        // Down, a row at a time: a page is the rows that fit whole.
        const int height = row_size_.height();
        int page = rows + 1;
        if (contents.height() > viewport()->height()) page = height > 0 ? viewport()->height() / height : 0;
        down->setSingleStep(1);
        down->setPageStep(page);
        down->setRange(0, rows - page);
    }
    QAbstractItemView::updateGeometries();
    // The scroll bars are shown or hidden for their new ranges now, not
    // when events next run, as a plain list does: the rows shown depend on
    // the room the bars leave. Setting the margins lays the list out.
    setViewportMargins(viewportMargins());
}

int CodeListBox::VerticalValueFor(int row, const QRect& shown_at, ScrollHint hint) const {
    const QRect area = viewport()->rect();
    if (hint == EnsureVisible) {
        if (shown_at.top() < area.top()) {
            hint = PositionAtTop;
        } else if (shown_at.bottom() > area.bottom()) {
            hint = PositionAtBottom;
        } else {
            return std::clamp(verticalScrollBar()->value(), 0, Count());
        }
    }
    // The rows from `top` to `row` fit in the list.
    int top = row;
    while (top > 0 && (row - top + 1) * row_size_.height() + shown_at.height() <= area.height()) --top;
    const int fitting = row - top + 1;
    switch (hint) {
        case PositionAtTop: return row;
        case PositionAtBottom: return row - fitting + 1;
        case PositionAtCenter: return row - fitting / 2;
        default: return verticalScrollBar()->value();
    }
}

void CodeListBox::scrollTo(const QModelIndex& index, ScrollHint hint) {
    if (index.parent() != rootIndex() || index.column() != modelColumn()) return;
    const QRect rect = visualRect(index);
    if (!rect.isValid()) return;
    if (hint == EnsureVisible && viewport()->rect().contains(rect)) {
        viewport()->update(rect);
        return;
    }
    verticalScrollBar()->setValue(VerticalValueFor(index.row(), rect, hint));
}

void CodeListBox::scrollContentsBy(int dx, int dy) {
    // A plain list's own scrolling finds no rows laid out and moves
    // nothing, but first stops a scroll to a clicked entry that the user's
    // scrolling overrides.
    QListView::scrollContentsBy(0, 0);
    const int rows = Count();
    if (rows == 0) return;
    if (dy != 0) {
        // The bar has moved `dy` rows.
        const int now = std::clamp(verticalScrollBar()->value(), 0, rows);
        const int before = std::clamp(now + dy, 0, rows);
        dy = (before - now) * row_size_.height();
    }
    if (isRightToLeft()) dx = -dx;
    scrollDirtyRegion(dx, dy);
    viewport()->scroll(dx, dy);
}

int CodeListBox::PageMove(int current, bool down) const {
    // A page up or down goes to the row about a list's height away whose
    // whole span from the current row still fits in the list.
    const int page = viewport()->height();
    const int bottom = Count() * row_size_.height();
    const QRect from = RowRect(current);
    QRect probe = from;
    RowSpan found;
    int row = current;
    if (down) {
        probe.moveTop(probe.top() + page - 1);
        if (probe.bottom() > bottom - probe.height()) {
            probe.setTop(bottom - 1);
            probe.setBottom(bottom);
        }
        while (found.Empty() || RowRect(row).bottom() >= page + from.top() || probe.bottom() > bottom) {
            probe.translate(0, -1);
            if (probe.top() >= bottom) return current;
            found = RowsMeeting(probe);
            row = NearestRow(from, found);
        }
    } else {
        probe.moveTop(probe.top() - page + 1);
        if (probe.top() < probe.height()) {
            probe.setTop(0);
            probe.setBottom(1);
        }
        while (found.Empty() || RowRect(row).top() <= from.bottom() - page || probe.top() <= 0) {
            probe.translate(0, 1);
            if (probe.bottom() <= 0) return current;
            found = RowsMeeting(probe);
            row = NearestRow(from, found);
        }
    }
    return row;
}

QModelIndex CodeListBox::moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers) {
    LayOutIfDue();
    const int rows = Count();
    const QModelIndex current = currentIndex();
    if (!current.isValid()) return entries_.index(0);
    const int row = current.row();
    const bool step_up = action == MoveUp || action == MovePrevious;
    const bool step_down = action == MoveDown || action == MoveNext;
    if (step_up) return row > 0 ? entries_.index(row - 1) : current;
    if (step_down) return row + 1 < rows ? entries_.index(row + 1) : current;
    if (RowRect(row).isEmpty()) return entries_.index(0);
    switch (action) {
        case MoveHome: return entries_.index(0);
        case MoveEnd: return entries_.index(rows - 1);
        case MovePageUp:
        case MovePageDown: {
            // A row taller than the list pages a row at a time.
            const bool down = action == MovePageDown;
            if (row_size_.height() >= viewport()->height()) return moveCursor(down ? MoveDown : MoveUp, modifiers);
            return entries_.index(PageMove(row, down));
        }
        default: return current;  // one column: nothing to the left or right
    }
}

void CodeListBox::setSelection(const QRect& rect, QItemSelectionModel::SelectionFlags command) {
    if (selectionModel() == nullptr) return;
    LayOutIfDue();
    const QPoint offset(horizontalOffset(), verticalOffset());
    QItemSelection selection;
    const auto select = [&](int first, int last) {
        selection.select(entries_.index(std::min(first, last)), entries_.index(std::max(first, last)));
    };
    if (rect.width() == 1 && rect.height() == 1) {
        // A click: the entry under it.
        const int row = LastRowMeeting(rect.topLeft() + offset);
        if (row >= 0) select(row, row);
    } else if (state() == DragSelectingState) {
        // A rubber band: the entries it meets.
        const RowSpan span = RowsMeeting(rect.translated(offset));
        if (!span.Empty()) select(span.first, span.last);
    } else {
        // From one entry to another, by keys or a click with Shift.
        const int from = LastRowMeeting(rect.topLeft() + offset);
        const int to = LastRowMeeting(rect.bottomRight() + offset);
        if (from >= 0 && to >= 0) select(from, to);
    }
    selectionModel()->select(selection, command);
}

QRegion CodeListBox::visualRegionForSelection(const QItemSelection& selection) const {
    QRegion region;
    const QRect area = viewport()->rect();
    for (const QItemSelectionRange& range : selection) {
        if (!range.isValid() || range.parent() != rootIndex()) continue;
        const QRect rect(visualRect(entries_.index(range.top())).topLeft(),
                         visualRect(entries_.index(range.bottom())).bottomRight());
        if (area.intersects(rect)) region += rect;
    }
    return region;
}

void CodeListBox::paintEvent(QPaintEvent* event) {
    const QAbstractItemDelegate* delegate = itemDelegate();
    if (delegate == nullptr) return;
    LayOutIfDue();
    QStyleOptionViewItem option;
    initViewItemOption(&option);
    QPainter painter(viewport());
    const RowSpan rows = RowsMeeting(event->rect().translated(horizontalOffset(), verticalOffset()));
    const QModelIndex current = currentIndex();
    const QItemSelectionModel* selection = selectionModel();
    const bool focus = (hasFocus() || viewport()->hasFocus()) && current.isValid();
    const QStyle::State state = option.state;
    const bool enabled = state.testFlag(QStyle::State_Enabled);
    const int widest = std::max(viewport()->width(), row_size_.width());
    for (int row = rows.first; row <= rows.last; ++row) {
        const QModelIndex index = entries_.index(row);
        option.rect = visualRect(index);
        option.rect.setWidth(std::min(widest, option.rect.width()));
        option.state = state;
        if (selection != nullptr && selection->isSelected(index)) option.state |= QStyle::State_Selected;
        if (enabled) {
            const bool row_enabled = entries_.flags(index).testFlag(Qt::ItemIsEnabled);
            option.state.setFlag(QStyle::State_Enabled, row_enabled);
            option.palette.setCurrentColorGroup(row_enabled ? QPalette::Normal : QPalette::Disabled);
        }
        // (The entries cannot be edited: no editing state to paint.)
        if (focus && index == current) option.state |= QStyle::State_HasFocus;
        option.state.setFlag(QStyle::State_MouseOver, index == hover_);
        itemDelegateForIndex(index)->paint(&painter, option, index);
    }
}

// The entry under the mouse is painted as such; the list follows it as a
// plain list does: as the mouse moves or leaves, and as the list scrolls
// under it.
void CodeListBox::FollowHover(const QPoint& point) { SetHover(indexAt(point)); }

void CodeListBox::SetHover(const QModelIndex& under) {
    if (under == hover_) return;
    update(hover_);
    update(under);
    hover_ = under;
}

bool CodeListBox::viewportEvent(QEvent* event) {
    switch (event->type()) {
        case QEvent::HoverMove:
        case QEvent::HoverEnter: FollowHover(static_cast<QHoverEvent*>(event)->position().toPoint()); break;
        case QEvent::HoverLeave:
        case QEvent::Leave: SetHover({}); break;
        default: break;
    }
    return QListView::viewportEvent(event);
}

void CodeListBox::mouseMoveEvent(QMouseEvent* event) {
    const State before = state();
    QListView::mouseMoveEvent(event);
    if (before == NoState || before == DragSelectingState) FollowHover(event->position().toPoint());
}

void CodeListBox::verticalScrollbarValueChanged(int value) {
    QListView::verticalScrollbarValueChanged(value);
    const QPoint under = viewport()->mapFromGlobal(QCursor::pos());
    if (viewport()->rect().contains(under)) FollowHover(under);
}

void CodeListBox::horizontalScrollbarValueChanged(int value) {
    QListView::horizontalScrollbarValueChanged(value);
    const QPoint under = viewport()->mapFromGlobal(QCursor::pos());
    if (viewport()->rect().contains(under)) FollowHover(under);
}

}  // namespace velmo
