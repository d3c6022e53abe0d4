// SPDX-FileCopyrightText: 2026 The Velmo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QSerialPort>
#include <cstdint>
#include <functional>
#include <string>

#include "line_settings.h"
#include "serial_link.h"

namespace velmo {

// What went wrong last, kept so the window can explain it.
enum class FailureStage {
    None,
    Configure,  // a setting was refused
    Open,       // the port could not be opened
    Session,    // the connection was lost while open
};

// The codes are Qt Serial Port's on every system, so that one message
// builder explains the failures of either link.
struct LinkFailure {
    FailureStage stage = FailureStage::None;
    QSerialPort::SerialPortError code = QSerialPort::NoError;
    std::string description;
    // For a lost connection: the device itself had gone (an unplugged USB
    // adapter), which the system's own description does not say.
    bool device_gone = false;
};

// What the serial links of every system share: the configuration checked
// and kept for the next Open(), the device a port number maps to, and the
// first failure, after which a lost connection makes every call throw.
class PortLink : public SerialLink {
public:
    using DeviceMapping = std::function<std::string(int port)>;

    // The most that one read returns; more waits in the system for the next
    // read. At 9600 baud this is over a minute of the receiver's talk, far
    // more than comes between two reads, while a flood (a faulty device, a
    // fast USB gadget) costs no memory.
    static constexpr std::int64_t kReadLimit = 64 * 1024;

    void Configure(int port, const std::string& settings, int input_length) final;

    int Port() const { return port_number_; }
    // The device the last Open() tried; empty before the first.
    const std::string& DevicePath() const { return device_path_; }
    const LinkFailure& LastFailure() const { return failure_; }

protected:
    // `device_for_port` turns the configured port number into the device to
    // open; by default the usual device of that port on this computer.
    explicit PortLink(DeviceMapping device_for_port);

    // Checks that the link may open, and maps the configured port to its
    // device now rather than at Configure, so an adapter plugged in after
    // start-up is found.
    const std::string& DeviceToOpen();
    const LineSettings& Settings() const { return settings_; }
    // How much one read may return.
    std::int64_t ReadSize() const;

    [[noreturn]] void Fail(FailureStage stage, QSerialPort::SerialPortError code, const std::string& description);
    // The connection is over: the first loss is kept and told from then on.
    void Lose(QSerialPort::SerialPortError code, const std::string& description, bool device_gone);
    bool Lost() const { return failure_.stage == FailureStage::Session; }
    void ThrowIfLost() const;
    void RequireOpen() const;

private:
    DeviceMapping device_for_port_;
    int port_number_ = 0;
    LineSettings settings_;
    int input_length_ = 0;
    std::string device_path_;
    LinkFailure failure_;
};

}  // namespace velmo
