// SPDX-FileCopyrightText: 2026 The Velmo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "port_device.h"

#include <filesystem>
#include <system_error>

namespace velmo {

std::string SerialDevicePath(int port, HostSystem system, const PathExists& exists) {
    if (port < 1) return {};
    if (system == HostSystem::Windows) return "COM" + std::to_string(port);
    std::string alias = "/dev/velmo" + std::to_string(port);
    if (exists(alias)) return alias;
    return "/dev/ttyS" + std::to_string(port - 1);
}

bool PathPresent(const std::string& path) {
    std::error_code ignored;
    return std::filesystem::exists(std::filesystem::symlink_status(path, ignored));
}

std::string SerialDevicePath(int port) { return SerialDevicePath(port, kThisHost, PathPresent); }

}  // namespace velmo
