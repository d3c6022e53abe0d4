// SPDX-FileCopyrightText: 2026 The Velmo developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The code lists paint their rows from pictures of rows painted before:
// the pixels must be those the list paints without them.

#include <gtest/gtest.h>

#include <QImage>
#include <QListView>
#include <QStyledItemDelegate>
#include <algorithm>
#include <cstdio>
#include <memory>

#include "code_list_box.h"
#include "code_row_delegate.h"
#include "fake_link.h"
#include "main_window.h"
#include "reply_list.h"
#include "window_test_support.h"

namespace velmo {
namespace {

using testing::Control;
using testing::Painted;

class CodeRowDelegateTest : public ::testing::TestWithParam<const char*> {
protected:
    void SetUp() override {
        window = std::make_unique<MainWindow>(link, 1, [](const std::exception&) {});
        list = Control<CodeListBox>(*window, GetParam());
        ASSERT_NE(list, nullptr);
        rows = dynamic_cast<CodeRowDelegate*>(list->itemDelegate());
        ASSERT_NE(rows, nullptr);
    }

    // The same list painted by the plain delegate.
    QImage PaintedPlainly() {
        QStyledItemDelegate plain;
        list->setItemDelegate(&plain);
        QImage image = Painted(*list);
        list->setItemDelegate(rows);
        return image;
    }

    testing::FakeLink link;
    std::unique_ptr<MainWindow> window;
    CodeListBox* list = nullptr;
    CodeRowDelegate* rows = nullptr;
};

TEST_P(CodeRowDelegateTest, RowsFromPicturesAreTheRowsThemselves) {
    // What a scanner step lists, many times over, the newest shown.
    for (int step = 0; step < 60; ++step) {
        list->Append(QStringLiteral("K00%1000050200").arg(81'400 + step * 100, 7, 10, QLatin1Char('0')));
        list->Append(QString::fromStdString(testing::AcknowledgementEntry("G000")));
        list->Append(QString::fromStdString(testing::SquelchEntry("I004")));
    }
    list->scrollToBottom();
    const QImage plain = PaintedPlainly();
    EXPECT_EQ(Painted(*list), plain);  // the pictures made
    ASSERT_GT(rows->KeptRows(), 0);
    EXPECT_EQ(Painted(*list), plain);  // and copied

    // One step on: every row moves up by one.
    list->Append(QString::fromStdString(testing::AcknowledgementEntry("G001")));
    list->scrollToBottom();
    EXPECT_EQ(Painted(*list), PaintedPlainly());

    // A row selected and holding the focus mark is painted as it is.
    list->setCurrentIndex(list->model()->index(list->Count() - 2, 0));
    EXPECT_EQ(Painted(*list), PaintedPlainly());

    // New colours: no picture of the old ones is used.
    QPalette palette = list->palette();
    palette.setColor(QPalette::Text, Qt::yellow);
    list->setPalette(palette);
    EXPECT_EQ(Painted(*list), PaintedPlainly());

    // A background the window shows through: a picture of a row would not be
    // the row, so the rows are painted as the list paints them.
    palette.setColor(QPalette::Base, QColor(0, 0, 255, 128));
    list->setPalette(palette);
    EXPECT_EQ(Painted(*list), PaintedPlainly());
}

// Every signal level listed once, as a long scan lists them over its holds:
// the pictures kept stay as many as the rows in view allow, however many
// texts the list has shown, they take the same memory from the first rows
// painted on, and the rows are still painted as they are.
TEST_P(CodeRowDelegateTest, PicturesKeptAreBoundByTheRowsInView) {
    char level[5];
    qsizetype first_bytes = -1;
    for (int raw = 0; raw < 256; ++raw) {
        std::snprintf(level, sizeof level, "I1%02X", raw);
        list->Append(QString::fromStdString(testing::SignalEntry(level)));
        list->Append(QString::fromStdString(testing::AcknowledgementEntry("G000")));
        list->scrollToBottom();
        Painted(*list);
        // Once the list scrolls (its scroll bar narrows the rows, once).
        if (raw == 32) first_bytes = rows->KeptBytes();
    }
    const int row_height = list->visualRect(list->model()->index(list->Count() - 1, 0)).height();
    ASSERT_GT(row_height, 0);
    const int rows_in_view = list->viewport()->height() / row_height + 2;
    EXPECT_GT(rows->KeptRows(), 0);
    EXPECT_LE(rows->KeptRows(), std::max(16, rows_in_view + 2));
    EXPECT_GT(first_bytes, 0);
    EXPECT_EQ(rows->KeptBytes(), first_bytes);
    EXPECT_EQ(Painted(*list), PaintedPlainly());
}

INSTANTIATE_TEST_SUITE_P(BothLists, CodeRowDelegateTest, ::testing::Values("CodesOut", "CodesIn"));

}  // namespace
}  // namespace velmo
