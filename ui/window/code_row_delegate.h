// SPDX-FileCopyrightText: 2026 The Velmo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QCache>
#include <QFont>
#include <QImage>
#include <QStyledItemDelegate>
#include <vector>

namespace velmo {

// Paints the rows of the code lists. While the scanner runs, every new
// entry moves every row of its list, and each row was laid out and shaped
// as text again at each of the several repaints of a step. The lists
// repeat a few replies and show each command in many places as it moves
// up, so a row is painted once into a picture and copied from there after.
// The picture is painted by the same code on the same background as the
// list would paint the row, so the pixels are the same.
class CodeRowDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;

    // Rows kept as pictures, and the bytes their pictures take.
    int KeptRows() const { return static_cast<int>(rows_.size()); }
    qsizetype KeptBytes() const { return atlas_.sizeInBytes(); }

private:
    // What a row's picture depends on besides its text and state.
    struct Look {
        QSize size;
        qint64 palette = 0;
        QRgb background = 0;
        QFont font;
        QImage::Format format = QImage::Format_Invalid;
        int room = 0;  // rows the atlas holds
        bool operator==(const Look&) const = default;
    };
    // Where a kept row's picture is in the atlas; handed back when the
    // row is dropped.
    struct Slot {
        Slot(int at, std::vector<int>& free) : index(at), free_(&free) {}
        ~Slot() { free_->push_back(index); }
        Slot(const Slot&) = delete;
        Slot& operator=(const Slot&) = delete;
        int index;
        std::vector<int>* free_;
    };

    static constexpr int kLeastKept = 16;

    mutable Look look_;
    // The kept rows' pictures, one under another.
    mutable QImage atlas_;
    mutable std::vector<int> free_slots_;
    // Declared last: dropping its rows hands their slots back.
    mutable QCache<QString, Slot> rows_{kLeastKept};
};

}  // namespace velmo
