// SPDX-FileCopyrightText: 2026 The Velmo developers
// SPDX-License-Identifier: GPL-3.0-or-later

// A full code list drops its oldest entry without laying its rows out
// again. What the user sees and does with it must stay what a plain list of
// items shows: the same rows, scrolled alike, the same entry selected.

#include <gtest/gtest.h>

#include <QApplication>
#include <QImage>
#include <QItemSelectionModel>
#include <QListWidget>
#include <QScrollBar>
#include <functional>
#include <string>
#include <vector>

#include "code_list_box.h"
#include "reply_list.h"

namespace velmo {
namespace {

constexpr int kCapacity = 6;

using testing::Painted;

// What the user does to a list between entries.
using Action = std::function<void(QListView&)>;

void SelectRow(QListView& list, int row) { list.setCurrentIndex(list.model()->index(row, 0)); }

void MarkRowWithoutSelecting(QListView& list, int row) {
    list.selectionModel()->setCurrentIndex(list.model()->index(row, 0), QItemSelectionModel::NoUpdate);
}

std::vector<int> SelectedRows(const QListView& list) {
    std::vector<int> rows;
    for (const QModelIndex& index : list.selectionModel()->selectedIndexes()) rows.push_back(index.row());
    return rows;
}

std::vector<QString> Rows(const QListView& list) {
    std::vector<QString> rows;
    for (int row = 0; row < list.model()->rowCount(); ++row)
        rows.push_back(list.model()->index(row, 0).data().toString());
    return rows;
}

struct Scenario {
    const char* name;
    std::vector<QString> entries;
    // Done once the list holds this many entries; -1: never.
    int act_after = -1;
    Action action;
};

std::vector<QString> Numbered(int count, const QString& stem = QStringLiteral("K0008%1000050200")) {
    std::vector<QString> entries;
    for (int i = 0; i < count; ++i) entries.push_back(stem.arg(130 + i));
    return entries;
}

// Rows of other sizes: wider than the list, or empty.
std::vector<QString> OddSizes(int count) {
    std::vector<QString> entries;
    for (int i = 0; i < count; ++i) {
        if (i % 3 == 1) {
            entries.push_back(
                QString::fromStdString(testing::AcknowledgementEntry("G000 junk that runs far past the list's edge %1"))
                    .arg(i));
        } else if (i % 5 == 3) {
            entries.push_back(QString());
        } else {
            entries.push_back(QString::fromStdString(testing::AcknowledgementEntry("G00%1")).arg(i));
        }
    }
    return entries;
}

// A few texts over and over, as the replies come.
std::vector<QString> Repeated(int count) {
    std::vector<QString> entries;
    for (int i = 0; i < count; ++i) {
        entries.push_back(
            QString::fromStdString(i % 2 == 0 ? testing::AcknowledgementEntry("G000") : testing::SignalEntry("I13F")));
    }
    return entries;
}

class CodeListBoxTest : public ::testing::TestWithParam<Scenario> {
protected:
    void SetUp() override {
        for (QListView* list : {static_cast<QListView*>(&plain), static_cast<QListView*>(&box)}) {
            list->setUniformItemSizes(true);
            list->resize(150, 70);  // about four rows
            list->setFocusPolicy(Qt::NoFocus);
            list->show();
        }
    }

    // A plain list of items keeping its newest entries, as the lists were.
    void AddToPlainList(const QString& entry) {
        plain.addItem(entry);
        while (plain.count() > kCapacity) delete plain.takeItem(0);
        plain.scrollToItem(plain.item(plain.count() - 1), QAbstractItemView::PositionAtTop);
    }

    QListWidget plain;
    CodeListBox box{kCapacity};
};

// How often a list told that its current entry changed (a screen reader
// speaks the current entry of a focused list each time), and how often it
// scrolled (each time it may be painted there).
struct Changes {
    explicit Changes(QListView& list) {
        QObject::connect(list.selectionModel(), &QItemSelectionModel::currentChanged, [this] { ++current; });
        QObject::connect(list.verticalScrollBar(), &QScrollBar::valueChanged, [this] { ++scrolls; });
    }
    int current = 0;
    int scrolls = 0;
};

TEST_P(CodeListBoxTest, LooksAndSelectsAsAPlainList) {
    const Scenario& scenario = GetParam();
    const Changes plain_changes(plain);
    const Changes box_changes(box);
    for (std::size_t i = 0; i < scenario.entries.size(); ++i) {
        AddToPlainList(scenario.entries[i]);
        box.Append(scenario.entries[i]);
        box.ShowAtTop(box.Count() - 1);
        QApplication::processEvents();
        const std::string after = "after entry " + std::to_string(i + 1);

        ASSERT_EQ(Rows(box), Rows(plain)) << after;
        EXPECT_EQ(SelectedRows(box), SelectedRows(plain)) << after;
        EXPECT_EQ(box.currentIndex().row(), plain.currentIndex().row()) << after;
        EXPECT_EQ(box_changes.current, plain_changes.current) << after;
        EXPECT_EQ(box_changes.scrolls, plain_changes.scrolls) << after;
        EXPECT_EQ(box.verticalScrollBar()->value(), plain.verticalScrollBar()->value()) << after;
        EXPECT_EQ(box.horizontalScrollBar()->maximum(), plain.horizontalScrollBar()->maximum()) << after;
        EXPECT_EQ(Painted(box), Painted(plain)) << after;

        if (static_cast<int>(i) + 1 == scenario.act_after) {
            scenario.action(plain);
            scenario.action(box);
            QApplication::processEvents();
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Lists, CodeListBoxTest,
                         ::testing::Values(Scenario{"FillsThenDropsItsOldest", Numbered(15), -1, {}},
                                           Scenario{"SelectedEntryMovesUp", Numbered(12), kCapacity,
                                                    [](QListView& list) { SelectRow(list, 4); }},
                                           Scenario{"SelectedOldestHandsItsSelectionOn", Numbered(9), kCapacity,
                                                    [](QListView& list) { SelectRow(list, 0); }},
                                           Scenario{"MarkedOldestHandsItsMarkOn", Numbered(9), kCapacity,
                                                    [](QListView& list) { MarkRowWithoutSelecting(list, 0); }},
                                           Scenario{"SelectionGoneWithTheOldest", Numbered(14), kCapacity,
                                                    [](QListView& list) {
                                                        SelectRow(list, 2);
                                                        list.selectionModel()->clearCurrentIndex();
                                                    }},
                                           Scenario{"ScrolledBackByTheUser", Numbered(10), kCapacity + 1,
                                                    [](QListView& list) { list.verticalScrollBar()->setValue(0); }},
                                           Scenario{"RowsOfOtherSizes", OddSizes(24), -1, {}},
                                           Scenario{"FontGrowsWhileFilling", Repeated(10), kCapacity - 2,
                                                    [](QListView& list) {
                                                        QFont larger = list.font();
                                                        larger.setPointSize(larger.pointSize() * 2);
                                                        list.setFont(larger);
                                                    }}),
                         [](const ::testing::TestParamInfo<Scenario>& param) { return std::string(param.param.name); });

TEST(CodeListModelTest, KeepsItsNewestEntriesInOrder) {
    CodeListModel entries(3);
    std::vector<QString> added;
    QObject::connect(&entries, &CodeListModel::EntryAdded, [&](const QString& entry) { added.push_back(entry); });
    for (const char* entry : {"a", "b", "c", "d", "e"}) entries.Append(QString::fromLatin1(entry));
    ASSERT_EQ(entries.Count(), 3);
    EXPECT_EQ(entries.Entry(0), "c");
    EXPECT_EQ(entries.Entry(2), "e");
    EXPECT_EQ(entries.Entry(3), QString());  // past the end: nothing
    EXPECT_EQ(added.size(), 5U);

    entries.RemoveOldest();
    entries.Append(QStringLiteral("f"));
    EXPECT_EQ(entries.Entry(0), "d");
    EXPECT_EQ(entries.Entry(2), "f");
    for (int i = 0; i < 4; ++i) entries.RemoveOldest();  // more than it holds
    EXPECT_EQ(entries.Count(), 0);
    entries.Append(QStringLiteral("g"));
    EXPECT_EQ(entries.Entry(0), "g");
}

}  // namespace
}  // namespace velmo
