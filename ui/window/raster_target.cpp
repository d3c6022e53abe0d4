// SPDX-FileCopyrightText: 2026 The Velmo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "raster_target.h"

#include <QPaintDevice>
#include <QPaintEngine>
#include <cmath>

namespace velmo {

const QImage* RasterTargetImage(QPainter& painter) {
    QPaintEngine* engine = painter.paintEngine();
    if (engine == nullptr || engine->type() != QPaintEngine::Raster) return nullptr;
    QPaintDevice* device = engine->paintDevice();
    if (device == nullptr || device->devType() != QInternal::Image) return nullptr;
    return static_cast<const QImage*>(device);
}

bool WholeDevicePixels(const QPainter& painter, qreal ratio) {
    const QTransform& to_device = painter.deviceTransform();
    return to_device.type() <= QTransform::TxScale && to_device.m11() == ratio && to_device.m22() == ratio &&
           to_device.dx() == std::floor(to_device.dx()) && to_device.dy() == std::floor(to_device.dy());
}

}  // namespace velmo
