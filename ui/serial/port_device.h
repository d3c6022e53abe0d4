// SPDX-FileCopyrightText: 2026 The Velmo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <functional>
#include <string>

namespace velmo {

enum class HostSystem { Windows, Linux };

// The system this program was built for.
inline constexpr HostSystem kThisHost =
#ifdef _WIN32
    HostSystem::Windows;
#else
    HostSystem::Linux;
#endif

using PathExists = std::function<bool(const std::string& path)>;

// The device behind serial port `port` (1, 2, 3, ...): "COM<port>" on
// Windows; on Linux the stable alias /dev/velmo<port> when it is present
// (a udev rule makes it for a USB adapter), otherwise /dev/ttyS<port-1>.
// Empty for a port number below 1.
std::string SerialDevicePath(int port, HostSystem system, const PathExists& exists);

// True when something is at `path`, a symbolic link included even when its
// target is gone: the user asked for that alias, so a dangling one should be
// reported rather than silently replaced by another port that happens to exist.
bool PathPresent(const std::string& path);

// The same for this computer, asking its file system through PathPresent.
std::string SerialDevicePath(int port);

}  // namespace velmo
