// SPDX-FileCopyrightText: 2026 The Velmo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QCache>
#include <QFont>
#include <QImage>
#include <QStyledItemDelegate>

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

    // Rows kept as pictures, and how many may be.
    int KeptRows() const { return static_cast<int>(rows_.size()); }
    int MostKept() const { return static_cast<int>(rows_.maxCost()); }

private:
    // What a row's picture depends on besides its text and state.
    struct Look {
        QSize size;
        qint64 palette = 0;
        QRgb background = 0;
        QFont font;
        QImage::Format format = QImage::Format_Invalid;
        bool operator==(const Look&) const = default;
    };

    static constexpr qsizetype kLeastKept = 16;

    mutable Look look_;
    mutable QCache<QString, QImage> rows_{kLeastKept};
    mutable QImage scratch_;
};

}  // namespace velmo
