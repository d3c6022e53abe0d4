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
        row.features != QStyleOptionViewItem::HasDisplay || !WholeDevicePixels(*painter, 1.0) ||
        painter->opacity() != 1.0 || painter->compositionMode() != QPainter::CompositionMode_SourceOver ||
        target->devicePixelRatio() != 1.0 || row.rect.isEmpty()) {
        QStyledItemDelegate::paint(painter, option, index);
        return;
    }
    // The pictures hold for one look of the list; rows of other looks are
    // not kept.
    const Look look{row.rect.size(), row.palette.cacheKey(), background.color().rgba(), row.font, target->format()};
    if (!(look == look_)) {
        rows_.clear();
        look_ = look;
    }
    // Enough pictures for the rows in view and as many again; a long scan
    // lists hundreds of texts (a signal reading of each level, a command
    // for each frequency), and kept by the hundred their pictures made the
    // window grow by each new one for hours.
    const int in_view = viewport->height() / row.rect.height() + 2;
    const qsizetype keep = std::max<qsizetype>(kLeastKept, 2 * in_view);
    if (rows_.maxCost() != keep) rows_.setMaxCost(keep);
    const QString key = row.text + QChar(0) + QString::number(static_cast<int>(row.state));
    const QImage* picture = rows_.object(key);
    if (picture == nullptr) {
        // Painted on a scratch picture and kept as a copy: a picture keeps
        // the paint engine that painted it for as long as it lives.
        if (scratch_.size() != row.rect.size() || scratch_.format() != target->format()) {
            scratch_ = QImage(row.rect.size(), target->format());
        }
        scratch_.fill(background.color());
        QPainter on_picture(&scratch_);
        QStyleOptionViewItem placed = option;
        placed.rect.moveTo(0, 0);
        QStyledItemDelegate::paint(&on_picture, placed, index);
        on_picture.end();
        rows_.insert(key, new QImage(scratch_.copy()));
        picture = rows_.object(key);
        if (picture == nullptr) return;
    }
    painter->drawImage(row.rect.topLeft(), *picture);
}

}  // namespace velmo
