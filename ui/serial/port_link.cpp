// SPDX-FileCopyrightText: 2026 The Velmo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "port_link.h"

#include <algorithm>
#include <utility>

#include "port_device.h"

namespace velmo {

PortLink::PortLink(DeviceMapping device_for_port) : device_for_port_(std::move(device_for_port)) {
    if (!device_for_port_) device_for_port_ = [](int port) { return SerialDevicePath(port); };
}

void PortLink::Configure(int port, const std::string& settings, int input_length) {
    ThrowIfLost();
    if (IsOpen()) {
        Fail(FailureStage::Configure, QSerialPort::UnsupportedOperationError,
             "The serial port cannot be configured while it is open");
    }
    if (port < 1) {
        Fail(FailureStage::Configure, QSerialPort::UnsupportedOperationError,
             "Invalid serial port number " + std::to_string(port));
    }
    const auto parsed = ParseLineSettings(settings);
    if (!parsed) {
        Fail(FailureStage::Configure, QSerialPort::UnsupportedOperationError,
             "Invalid serial line settings \"" + settings + "\"");
    }
    if (input_length < 0) {
        Fail(FailureStage::Configure, QSerialPort::UnsupportedOperationError,
             "Invalid input length " + std::to_string(input_length));
    }
    port_number_ = port;
    settings_ = *parsed;
    input_length_ = input_length;
}

const std::string& PortLink::DeviceToOpen() {
    ThrowIfLost();
    if (port_number_ < 1) {
        Fail(FailureStage::Open, QSerialPort::UnsupportedOperationError, "The serial port has not been configured");
    }
    if (IsOpen()) Fail(FailureStage::Open, QSerialPort::OpenError, "The serial port is already open");
    device_path_ = device_for_port_(port_number_);
    return device_path_;
}

std::int64_t PortLink::ReadSize() const {
    return input_length_ > 0 ? std::min<std::int64_t>(input_length_, kReadLimit) : kReadLimit;
}

void PortLink::Fail(FailureStage stage, QSerialPort::SerialPortError code, const std::string& description) {
    failure_ = LinkFailure{stage, code, description};
    throw SerialError(description);
}

void PortLink::Lose(QSerialPort::SerialPortError code, const std::string& description, bool device_gone) {
    if (Lost()) return;
    failure_ = LinkFailure{FailureStage::Session, code, description, device_gone};
}

void PortLink::ThrowIfLost() const {
    if (Lost()) throw SerialError(failure_.description);
}

void PortLink::RequireOpen() const {
    if (!IsOpen()) throw SerialError("The serial port is not open");
}

}  // namespace velmo
