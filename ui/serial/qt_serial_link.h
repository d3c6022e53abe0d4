// SPDX-FileCopyrightText: 2026 The Velmo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QSerialPort>
#include <memory>
#include <string>

#include "port_link.h"

namespace velmo {

// The serial link on a QSerialPort, on Linux and the other POSIX systems.
//
// A vanished device (an unplugged USB adapter) hangs up the terminal. Qt 6.4
// then reports read errors without end while the port still counts as open;
// Qt 6.5 and later report nothing and read end of file without end. Either
// way the first read, write or resource error, or a hang-up seen on the
// terminal itself, is taken as the end of the connection: the device is
// closed and every later call throws SerialError with that first description.
class QtSerialLink final : public PortLink {
public:
    explicit QtSerialLink(DeviceMapping device_for_port = {});
    ~QtSerialLink() override;

    QtSerialLink(const QtSerialLink&) = delete;
    QtSerialLink& operator=(const QtSerialLink&) = delete;

    void Open() override;
    void Close() override;
    bool IsOpen() const override;
    void Write(const std::string& text) override;
    std::string ReadAll() override;

private:
    class HangUpWatch;

    void OnPortError(QSerialPort::SerialPortError code);
    // Gives the port up if the terminal has hung up and Qt has not said so.
    void NoticeHangUp();

    std::string opened_path_;  // the device path with an alias resolved
    // Declared before the port, so the port and its notifiers go first.
    std::unique_ptr<HangUpWatch> hang_up_watch_;
    QSerialPort port_;
};

}  // namespace velmo
