// SPDX-FileCopyrightText: 2026 The Velmo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "failure_message.h"

namespace velmo {
namespace {

std::string DeviceName(const PortLink& link) {
    const std::string port = "serial port " + std::to_string(link.Port());
    return link.DevicePath().empty() ? port : port + " (" + link.DevicePath() + ")";
}

std::string WithStop(std::string text) {
    if (!text.empty() && text.back() != '.') text += '.';
    return text;
}

}  // namespace

std::string OpenFailureAdvice(HostSystem system, int port, QSerialPort::SerialPortError code) {
    const std::string number = std::to_string(port);
    if (code == QSerialPort::DeviceNotFoundError) {
        std::string advice = "Check that the receiver's serial cable or USB serial adapter is connected.";
        if (system == HostSystem::Windows) {
            advice += " This program opens COM" + number +
                      ". To give a USB serial adapter that number, open Device Manager, expand "
                      "Ports (COM & LPT), open the adapter's Properties, choose Port Settings, then "
                      "Advanced, and set the COM Port Number to COM" +
                      number + ".";
        } else {
            advice += " Velmo uses /dev/velmo" + number +
                      " when it exists (a udev rule can give a USB "
                      "adapter that name), otherwise /dev/ttyS" +
                      std::to_string(port - 1) + ".";
        }
        return advice;
    }
    if (system == HostSystem::Windows) {
        // Windows lets one program at a time open a COM port; the others are
        // refused, which Qt reports as a permission error or, under some
        // drivers, as an unknown one.
        if (code != QSerialPort::PermissionError && code != QSerialPort::UnknownError) return {};
        return "Another program is using COM" + number +
               " (another Velmo, a terminal program or the adapter's own tool): close it and try again.";
    }
    if (code != QSerialPort::PermissionError) return {};
    return "Another program may be using the port: close it and try again. Otherwise your user may not be "
           "allowed to use serial ports: on Linux the user must be in the dialout group. Run \"sudo usermod "
           "-aG dialout $USER\", then log out and log in again.";
}

std::string DescribeFailure(const PortLink& link, const SerialError& error) {
    const std::string reported = "The serial layer reported: " + WithStop(error.what());
    const LinkFailure& failure = link.LastFailure();
    // An error the link did not record itself gets the plain wording.
    const FailureStage stage = failure.description == error.what() ? failure.stage : FailureStage::None;

    switch (stage) {
        case FailureStage::Open: {
            std::string text = "Could not open " + DeviceName(link) + ". " + reported;
            const std::string advice = OpenFailureAdvice(kThisHost, link.Port(), failure.code);
            if (!advice.empty()) text += "\n\n" + advice;
            return text;
        }
        case FailureStage::Session:
            if (failure.device_gone) {
                return "The connection to the receiver on " + DeviceName(link) +
                       " was lost: the device is no longer there, as happens when a USB serial "
                       "adapter is unplugged. " +
                       reported + "\n\nReconnect the receiver, then start Velmo again.";
            }
            return "The connection to the receiver on " + DeviceName(link) + " was lost. " + reported +
                   "\n\nCheck that the serial cable or USB serial adapter is still connected, "
                   "then start Velmo again.";
        case FailureStage::Configure: return "The serial port settings were refused. " + reported;
        case FailureStage::None: break;
    }
    return "The serial port failed. " + reported;
}

}  // namespace velmo
