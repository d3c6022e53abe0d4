// SPDX-FileCopyrightText: 2026 The Velmo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <string>

namespace velmo::sim {

// A pseudo-terminal in raw mode, standing in for a serial line: a program
// opens the slave side by its path, as it would a serial port, and whoever
// plays the receiver reads and writes the master side. Bytes pass unchanged
// both ways.
struct RawPty {
    int master = -1;  // non-blocking
    int slave = -1;
    std::string slave_path;
};

// Both ends close on exec. Throws std::system_error when no pseudo-terminal
// can be had. The caller owns and closes the two descriptors.
RawPty OpenRawPty();

}  // namespace velmo::sim
