// SPDX-FileCopyrightText: 2026 The Velmo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QRect>

#include "panel_controls.h"

namespace velmo {

// The panel is laid out in twips, 15 to a pixel at 96 dots per inch. Qt
// geometry is in device-independent pixels, so the layout scales on HiDPI
// screens by itself.
constexpr int kTwipsPerPixel = 15;

constexpr int TwipsToPixels(int twips) { return twips / kTwipsPerPixel; }

constexpr QRect TwipsRect(int left, int top, int width, int height) {
    return QRect(TwipsToPixels(left), TwipsToPixels(top), TwipsToPixels(width), TwipsToPixels(height));
}

constexpr QRect TwipsRect(const TwipsPlace& place) {
    return TwipsRect(place.left, place.top, place.width, place.height);
}

}  // namespace velmo
