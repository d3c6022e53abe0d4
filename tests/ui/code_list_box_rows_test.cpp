// SPDX-FileCopyrightText: 2026 The Velmo developers
// SPDX-License-Identifier: GPL-3.0-or-later

// A code list places, finds, scrolls to and paints its rows itself. Whatever
// the user does with the keys, the mouse and the wheel, and whatever the
// program asks of it, it must answer as a plain list of the same entries:
// the same entry current and selected, scrolled alike, painted alike, and
// the same row at every point.

#include <gtest/gtest.h>

#include <QApplication>
#include <QItemSelectionModel>
#include <QKeySequence>
#include <QListWidget>
#include <QScrollBar>
#include <QStyledItemDelegate>
#include <QTest>
#include <QWheelEvent>
#include <algorithm>
#include <functional>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "code_list_box.h"
#include "reply_list.h"
#include "window_test_support.h"

namespace velmo {
namespace {

using testing::Painted;

// One thing done to a list, named for the failure message.
struct Step {
    std::string name;
    std::function<void(QListView&)> act;
};

Step Key(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    return {"key " + QKeySequence(key | modifiers).toString().toStdString(),
            [=](QListView& list) { QTest::keyClick(&list, key, modifiers); }};
}

Step Click(QPoint at, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    return {"click at " + std::to_string(at.x()) + "," + std::to_string(at.y()),
            [=](QListView& list) { QTest::mouseClick(list.viewport(), Qt::LeftButton, modifiers, at); }};
}

Step Wheel(int notches) {
    return {"wheel " + std::to_string(notches), [=](QListView& list) {
                const QPointF at(20, 20);
                QWheelEvent turned(at, list.viewport()->mapToGlobal(at), QPoint(), QPoint(0, 120 * notches),
                                   Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
                QApplication::sendEvent(list.viewport(), &turned);
            }};
}

Step ScrollTo(int row, QAbstractItemView::ScrollHint hint) {
    return {"scroll to " + std::to_string(row) + " hint " + std::to_string(hint),
            [=](QListView& list) { list.scrollTo(list.model()->index(row, 0), hint); }};
}

Step Across(int value) {
    return {"across to " + std::to_string(value),
            [=](QListView& list) { list.horizontalScrollBar()->setValue(value); }};
}

Step Resize(QSize size) {
    return {"resize", [=](QListView& list) { list.resize(size); }};
}

// Moves the mouse over the list's rows, or off it.
Step Hover(QPoint at) {
    return {"hover at " + std::to_string(at.x()) + "," + std::to_string(at.y()), [=](QListView& list) {
                QHoverEvent moved(QEvent::HoverMove, at, list.viewport()->mapToGlobal(at), at);
                QApplication::sendEvent(list.viewport(), &moved);
            }};
}

Step LeaveList() {
    return {"mouse leaves", [](QListView& list) {
                QHoverEvent left(QEvent::HoverLeave, QPointF(-1, -1), QPointF(-1, -1), QPointF());
                QApplication::sendEvent(list.viewport(), &left);
            }};
}

// Paints rows as the list's own delegate would, noting the state each row
// was painted in: selected, current with focus, under the mouse.
class StateNoted : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override {
        painted[index.row()] = option.state;
        QStyledItemDelegate::paint(painter, option, index);
    }
    mutable std::map<int, QStyle::State> painted;
};

struct Use {
    const char* name;
    std::vector<QString> entries;
    std::vector<Step> steps;
    QAbstractItemView::SelectionMode selection = QAbstractItemView::SingleSelection;
};

std::vector<QString> Commands(int count) {
    std::vector<QString> entries;
    for (int i = 0; i < count; ++i) entries.push_back(QStringLiteral("K0008%1000050200").arg(130 + i));
    return entries;
}

// The newest entry is wider than the list: every row is, and the list
// scrolls across.
std::vector<QString> CommandsThenAWideReply(int count) {
    std::vector<QString> entries = Commands(count);
    entries.push_back(QString::fromStdString(testing::AcknowledgementEntry("G000 and a tail far past the edge")));
    return entries;
}

class CodeListBoxRowsTest : public ::testing::TestWithParam<Use> {
protected:
    static constexpr int kCapacity = 40;

    void SetUp() override {
        for (QListView* list : Lists()) {
            list->setUniformItemSizes(true);
            list->setSelectionMode(GetParam().selection);
            list->resize(150, 90);  // five rows and a bit
            list->setFocusPolicy(Qt::NoFocus);
            list->show();
        }
        plain.setItemDelegate(&plain_rows);
        box.setItemDelegate(&box_rows);
        for (const QString& entry : GetParam().entries) {
            plain.addItem(entry);
            box.Append(entry);
        }
        QApplication::processEvents();
    }

    std::vector<QListView*> Lists() { return {&plain, &box}; }

    void ExpectAlike(const std::string& after) {
        ASSERT_EQ(box.model()->rowCount(), plain.model()->rowCount()) << after;
        EXPECT_EQ(box.currentIndex().row(), plain.currentIndex().row()) << after;
        EXPECT_EQ(SelectedRows(box), SelectedRows(plain)) << after;
        const std::pair<const QScrollBar*, const QScrollBar*> bars[] = {
            {box.verticalScrollBar(), plain.verticalScrollBar()},
            {box.horizontalScrollBar(), plain.horizontalScrollBar()}};
        for (const auto& [mine, theirs] : bars) {
            EXPECT_EQ(mine->value(), theirs->value()) << after;
            EXPECT_EQ(mine->maximum(), theirs->maximum()) << after;
            EXPECT_EQ(mine->pageStep(), theirs->pageStep()) << after;
            EXPECT_EQ(mine->isVisible(), theirs->isVisible()) << after;
        }
        for (int row = 0; row < box.model()->rowCount(); ++row) {
            EXPECT_EQ(box.visualRect(box.model()->index(row, 0)), plain.visualRect(plain.model()->index(row, 0)))
                << after << ", row " << row;
        }
        // Every few pixels, and around the list's edges.
        for (int y = -7; y < box.height() + 7; y += 3) {
            for (int x : {-1, 0, 5, 70, 133, 147, 149, 400}) {
                EXPECT_EQ(box.indexAt(QPoint(x, y)).row(), plain.indexAt(QPoint(x, y)).row())
                    << after << ", at " << x << "," << y;
            }
        }
        box_rows.painted.clear();
        plain_rows.painted.clear();
        EXPECT_EQ(Shown(box), Shown(plain)) << after;
        EXPECT_EQ(box_rows.painted, plain_rows.painted) << after;
    }

    // The list painted as its window's user sees it: the two lists are
    // windows of their own, and only the active one shows its focus.
    static QImage Shown(QListView& list) {
        Activate(list);
        return Painted(list);
    }

    static void Activate(QListView& list) {
        list.activateWindow();
        QApplication::processEvents();
    }

    static std::vector<int> SelectedRows(const QListView& list) {
        std::vector<int> rows;
        for (const QModelIndex& index : list.selectionModel()->selectedIndexes()) rows.push_back(index.row());
        std::sort(rows.begin(), rows.end());
        return rows;
    }

    QListWidget plain;
    CodeListBox box{kCapacity};
    StateNoted plain_rows;
    StateNoted box_rows;
};

TEST_P(CodeListBoxRowsTest, AnswersAsAPlainList) {
    ExpectAlike("filled");
    for (const Step& step : GetParam().steps) {
        for (QListView* list : Lists()) {
            Activate(*list);
            step.act(*list);
            QApplication::processEvents();
        }
        ExpectAlike("after " + step.name);
        if (HasFatalFailure()) return;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Uses, CodeListBoxRowsTest,
    ::testing::Values(
        Use{"ArrowKeys",
            Commands(30),
            {Key(Qt::Key_Down), Key(Qt::Key_Down), Key(Qt::Key_Up), Key(Qt::Key_Up), Key(Qt::Key_Up), Key(Qt::Key_End),
             Key(Qt::Key_Down), Key(Qt::Key_Up), Key(Qt::Key_Home), Key(Qt::Key_Left), Key(Qt::Key_Right)}},
        Use{"PageKeys",
            Commands(30),
            {Click({30, 25}), Key(Qt::Key_PageDown), Key(Qt::Key_PageDown), Key(Qt::Key_PageDown), Key(Qt::Key_PageUp),
             Key(Qt::Key_End), Key(Qt::Key_PageDown), Key(Qt::Key_PageUp), Key(Qt::Key_PageUp), Key(Qt::Key_Home),
             Key(Qt::Key_PageUp)}},
        Use{"PageKeysInAShortList", Commands(4), {Key(Qt::Key_Down), Key(Qt::Key_PageDown), Key(Qt::Key_PageUp)}},
        Use{"ClicksAboveBelowAndBeside",
            Commands(30),
            {Click({10, 1}), Click({10, 40}), Click({146, 60}), Click({10, 88}), Wheel(-3), Click({10, 50}),
             Key(Qt::Key_End), Click({10, 85})}},
        Use{"ClicksPastTheLastRow", Commands(3), {Click({10, 5}), Click({10, 80}), Key(Qt::Key_Down)}},
        Use{"ShiftClicksSelectARun",
            Commands(30),
            {Click({10, 10}), Click({10, 70}, Qt::ShiftModifier), Key(Qt::Key_PageDown, Qt::ShiftModifier),
             Click({10, 30}, Qt::ControlModifier), Key(Qt::Key_Up, Qt::ShiftModifier)},
            QAbstractItemView::ExtendedSelection},
        Use{"Wheel", Commands(30), {Wheel(-1), Wheel(-4), Wheel(2), Wheel(-40), Wheel(40)}},
        Use{"ScrolledToAsAsked",
            Commands(30),
            {ScrollTo(12, QAbstractItemView::EnsureVisible), ScrollTo(20, QAbstractItemView::PositionAtCenter),
             ScrollTo(25, QAbstractItemView::PositionAtBottom), ScrollTo(24, QAbstractItemView::EnsureVisible),
             ScrollTo(2, QAbstractItemView::EnsureVisible), ScrollTo(29, QAbstractItemView::PositionAtTop),
             ScrollTo(0, QAbstractItemView::PositionAtCenter), ScrollTo(1, QAbstractItemView::PositionAtBottom)}},
        Use{"AcrossWideRows",
            CommandsThenAWideReply(20),
            {Across(30), Click({100, 20}), Key(Qt::Key_End), Across(1000), Key(Qt::Key_Home), Across(0),
             Key(Qt::Key_Right)}},
        Use{"HoverFollowsTheMouse",
            Commands(30),
            {Hover({10, 20}), Hover({10, 40}), Wheel(-2), Hover({10, 200}), Hover({10, 5}), LeaveList()}},
        Use{"Resized",
            CommandsThenAWideReply(8),
            {Resize({300, 90}), Key(Qt::Key_End), Resize({150, 40}), Key(Qt::Key_PageUp), Resize({150, 400}),
             Wheel(-2)}}),
    [](const ::testing::TestParamInfo<Use>& param) { return std::string(param.param.name); });

}  // namespace
}  // namespace velmo
