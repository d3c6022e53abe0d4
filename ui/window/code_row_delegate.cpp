// SPDX-FileCopyrightText: 2026 The Velmo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "code_row_delegate.h"

#include <QAbstractScrollArea>
#include <QPainter>
#include <algorithm>

#include "raster_target.h"

namespace velmo {

void CodeRowDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const {
    QStyleOptionViewItem row = option;
    initStyleOption(&row, index);
    const auto* view = qobject_cast<const QAbstractScrollArea*>(option.widget);
    const QImage* target = RasterTargetImage(*painter);
    // A row the list paints onto its plain background, and nothing but a
    // text: anything else is painted as the list would.
    const QWidget* viewport = view ? view->viewport() : nullptr;
    const QBrush background = viewport ? viewport->palette().brush(viewport->backgroundRole()) : QBrush();
    if (!target || !viewport || !viewport->autoFillBackground() || background.style() != Qt::SolidPattern ||
        background.color().alpha() != 255 || row.features != QStyleOptionViewItem::HasDisplay ||
        !WholeDevicePixels(*painter, 1.0) || painter->opacity() != 1.0 ||
        painter->compositionMode() != QPainter::CompositionMode_SourceOver || target->devicePixelRatio() != 1.0 ||
        row.rect.isEmpty()) {
        QStyledItemDelegate::paint(painter, option, index);
        return;
    }
    // The pictures hold for one look of the list and as many rows as it
    // shows and a few more; rows of other looks are not kept. A long scan
    // lists hundreds of texts (a signal reading of each level, a command
    // for each frequency): kept one picture each, up to a count, they made
    // the window grow with each new text for hours. The pictures share one
    // image, made whole when the look is set, so what they take stays the
    // same from the first row painted on.
    const int rows_in_view = viewport->height() / row.rect.height() + 2;
    const int room = std::max(kLeastKept, rows_in_view + 2);
    const Look look{row.rect.size(), row.palette.cacheKey(), background.color().rgba(),
                    row.font,        target->format(),       room};
    if (!(look == look_)) {
        rows_.clear();
        rows_.setMaxCost(room);
        free_slots_.clear();
        for (int slot = room - 1; slot >= 0; --slot) free_slots_.push_back(slot);
        atlas_ = QImage(row.rect.width(), row.rect.height() * room, target->format());
        look_ = look;
    }
    const QString key = row.text + QChar(0) + QString::number(static_cast<int>(row.state));
    const Slot* kept = rows_.object(key);
    if (kept == nullptr) {
        if (free_slots_.empty()) rows_.setMaxCost(rows_.size() - 1);  // drops the row used longest ago
        rows_.setMaxCost(room);
        const int slot = free_slots_.back();
        free_slots_.pop_back();
        const QRect place(QPoint(0, slot * row.rect.height()), row.rect.size());
        QPainter on_atlas(&atlas_);
        on_atlas.setClipRect(place);
        on_atlas.fillRect(place, background.color());
        QStyleOptionViewItem placed = option;
        placed.rect = place;
        QStyledItemDelegate::paint(&on_atlas, placed, index);
        on_atlas.end();
        rows_.insert(key, new Slot(slot, free_slots_));
        kept = rows_.object(key);
        if (kept == nullptr) return;
    }
    // The picture is opaque, painted on the list's opaque background, so
    // putting it in place of the row's pixels is the same as drawing it over
    // them. Put in place, Qt copies it line by line; drawn over, it blends
    // every pixel, which took most of a scanner step's instructions on arm64.
    painter->setCompositionMode(QPainter::CompositionMode_Source);
    painter->drawImage(row.rect.topLeft(), atlas_, QRect(QPoint(0, kept->index * row.rect.height()), row.rect.size()));
    painter->setCompositionMode(QPainter::CompositionMode_SourceOver);
}

}  // namespace velmo
