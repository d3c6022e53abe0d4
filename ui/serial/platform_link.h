// SPDX-FileCopyrightText: 2026 The Velmo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// The serial link of the system the program is built for.
#ifdef _WIN32
#include "win_serial_link.h"
#else
#include "qt_serial_link.h"
#endif

namespace velmo {

#ifdef _WIN32
using PlatformLink = WinSerialLink;
#else
using PlatformLink = QtSerialLink;
#endif

}  // namespace velmo
