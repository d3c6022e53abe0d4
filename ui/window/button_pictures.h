// SPDX-FileCopyrightText: 2026 The Velmo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QIcon>
#include <QSize>
#include <QString>

namespace velmo {

enum class ButtonPicture { RadioOn, RadioOff, FrequencyUp, FrequencyDown, Direct, Scan };

// The size the picture is drawn at on its button, in device-independent pixels.
QSize PictureSize(ButtonPicture picture);

// The picture rendered from its SVG source at its size, with sharper copies
// for HiDPI screens; transparent around the drawing.
QIcon PictureIcon(ButtonPicture picture);

// The window icon: the same drawing at 16, 24, 32, 48, 64 and 256 pixels.
QIcon WindowIcon();

}  // namespace velmo
