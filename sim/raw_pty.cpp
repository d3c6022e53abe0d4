// SPDX-FileCopyrightText: 2026 The Velmo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "sim/raw_pty.h"

#include <fcntl.h>
#include <pty.h>
#include <termios.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <system_error>

namespace velmo::sim {

RawPty OpenRawPty() {
    termios raw{};
    cfmakeraw(&raw);
    cfsetispeed(&raw, B9600);
    cfsetospeed(&raw, B9600);
    RawPty pty;
    std::array<char, 256> name{};
    if (openpty(&pty.master, &pty.slave, name.data(), &raw, nullptr) != 0) {
        throw std::system_error(errno, std::generic_category(), "openpty");
    }
    pty.slave_path = name.data();
    fcntl(pty.master, F_SETFD, FD_CLOEXEC);
    fcntl(pty.slave, F_SETFD, FD_CLOEXEC);
    if (fcntl(pty.master, F_SETFL, fcntl(pty.master, F_GETFL) | O_NONBLOCK) != 0) {
        const int error = errno;
        close(pty.master);
        close(pty.slave);
        throw std::system_error(error, std::generic_category(), "fcntl");
    }
    return pty;
}

}  // namespace velmo::sim
