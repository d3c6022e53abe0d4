// SPDX-FileCopyrightText: 2026 The Velmo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QImage>
#include <QPainter>

namespace velmo {

// The image a painter paints into, when it is one painted by the raster
// engine: a picture kept for it is made in its format, so that text is
// blended alike.
const QImage* RasterTargetImage(QPainter& painter);

// A picture of device ratio `ratio` drawn through this painter lands on
// whole device pixels, one picture pixel to one device pixel.
bool WholeDevicePixels(const QPainter& painter, qreal ratio);

}  // namespace velmo
