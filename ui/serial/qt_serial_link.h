// SPDX-FileCopyrightText: 2026 The Velmo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QSerialPort>
#include <functional>
#include <memory>
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

struct LinkFailure {
    FailureStage stage = FailureStage::None;
    QSerialPort::SerialPortError code = QSerialPort::NoError;
    std::string description;
    // For a lost connection: the device node itself had gone (an unplugged
    // USB adapter), which Qt's own description does not say.
    bool device_gone = false;
};

// The serial link on a QSerialPort.
//
// A vanished device (an unplugged USB adapter) hangs up the terminal. Qt 6.4
// then reports read errors without end while the port still counts as open;
// Qt 6.5 and later report nothing and read end of file without end. Either
// way the first read, write or resource error, or a hang-up seen on the
// terminal itself, is taken as the end of the connection: the device is
// closed and every later call throws SerialError with that first description.
class QtSerialLink final : public SerialLink {
public:
    using DeviceMapping = std::function<std::string(int port)>;

    // The most that one read returns, and that waits here between reads;
    // more waits in the system for the next read. At 9600 baud this is over
    // a minute of the receiver's talk, far more than comes between two reads,
    // while a flood (a faulty device, a fast USB gadget) costs no memory.
    static constexpr qint64 kReadLimit = 64 * 1024;
    // Where Qt's events lag the driver (Windows), a read waits for what the
    // driver holds at most this many times this long.
    static constexpr int kDriverReadTries = 3;
    static constexpr int kDriverReadWaitMs = 5;

    // `device_for_port` turns the configured port number into the device to
    // open; by default the usual device of that port on this computer.
    explicit QtSerialLink(DeviceMapping device_for_port = {});
    ~QtSerialLink() override;

    QtSerialLink(const QtSerialLink&) = delete;
    QtSerialLink& operator=(const QtSerialLink&) = delete;

    void Configure(int port, const std::string& settings, int input_length) override;
    void Open() override;
    void Close() override;
    bool IsOpen() const override;
    void Write(const std::string& text) override;
    std::string ReadAll() override;

    int Port() const { return port_number_; }
    // The device the last Open() tried; empty before the first.
    const std::string& DevicePath() const { return device_path_; }
    const LinkFailure& LastFailure() const { return failure_; }

private:
    [[noreturn]] void Fail(FailureStage stage, QSerialPort::SerialPortError code, const std::string& description);
    class HangUpWatch;

    void OnPortError(QSerialPort::SerialPortError code);
    // Gives the port up if the terminal has hung up and Qt has not said so.
    void NoticeHangUp();
    void ThrowIfLost() const;
    void RequireOpen() const;

    DeviceMapping device_for_port_;
    int port_number_ = 0;
    LineSettings settings_;
    int input_length_ = 0;
    std::string device_path_;
    std::string opened_path_;  // device_path_ with an alias resolved
    LinkFailure failure_;
    // Declared before the port, so the port and its notifiers go first.
    std::unique_ptr<HangUpWatch> hang_up_watch_;
    QSerialPort port_;
};

}  // namespace velmo
