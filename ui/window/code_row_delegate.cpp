// SPDX-FileCopyrightText: 2026 The Velmo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "code_row_delegate.h"

#include <QAbstractScrollArea>
#include <QPaintDevice>
#include <QPaintEngine>
#include <QPainter>
#include <cmath>
#include <memory>

namespace velmo {
namespace {

// The image the list is painted into, when it is one: the row's picture
// is made in its format, so that text is blended alike.
const QImage* TargetImage(QPainter& painter) {
    QPaintEngine* engine = painter.paintEngine();
    if (engine == nullptr || engine->type() != QPaintEngine::Raster) return nullptr;
    QPaintDevice* device = engine->paintDevice();
    if (device == nullptr || device->devType() != QInternal::Image) return nullptr;
    return static_cast<const QImage*>(device);
}

// A picture copied through this painter lands on whole pixels, unscaled.
bool WholePixelsApart(const QPainter& painter) {
    const QTransform& to_device = painter.deviceTransform();
    return to_device.type() <= QTransform::TxTranslate && to_device.dx() == std::floor(to_device.dx()) &&
           to_device.dy() == std::floor(to_device.dy());
}

}  // namespace

void CodeRowDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const {
    QStyleOptionViewItem row = option;
    initStyleOption(&row, index);
    const auto* view = qobject_cast<const QAbstractScrollArea*>(option.widget);
    const QImage* target = TargetImage(*painter);
    // A row the list paints onto its plain background, and nothing but a
    // text: anything else is painted as the list would.
    const QWidget* viewport = view ? view->viewport() : nullptr;
    const QBrush background = viewport ? viewport->palette().brush(viewport->backgroundRole()) : QBrush();
    if (!target || !viewport || !viewport->autoFillBackground() || background.style() != Qt::SolidPattern ||
        row.features != QStyleOptionViewItem::HasDisplay || !WholePixelsApart(*painter) || painter->opacity() != 1.0 ||
        painter->compositionMode() != QPainter::CompositionMode_SourceOver || target->devicePixelRatio() != 1.0 ||
        row.rect.isEmpty()) {
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
    const QString key = row.text + QChar(0) + QString::number(static_cast<int>(row.state));
    const QImage* picture = rows_.object(key);
    if (picture == nullptr) {
        auto made = std::make_unique<QImage>(row.rect.size(), target->format());
        made->fill(background.color());
        QPainter on_picture(made.get());
        QStyleOptionViewItem placed = option;
        placed.rect.moveTo(0, 0);
        QStyledItemDelegate::paint(&on_picture, placed, index);
        on_picture.end();
        rows_.insert(key, made.release());
        picture = rows_.object(key);
        if (picture == nullptr) return;
    }
    painter->drawImage(row.rect.topLeft(), *picture);
}

}  // namespace velmo
