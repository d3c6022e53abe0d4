// SPDX-FileCopyrightText: 2026 The Velmo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <string>

#include "port_device.h"
#include "port_link.h"

namespace velmo {

// What the user can do about port number `port` that did not open with
// `code`, on `system`; empty where there is nothing to add.
std::string OpenFailureAdvice(HostSystem system, int port, QSerialPort::SerialPortError code);

// The message shown before the program ends on a serial failure: what
// failed, on which device, the serial layer's own words, and what the user
// can do about it.
std::string DescribeFailure(const PortLink& link, const SerialError& error);

}  // namespace velmo
