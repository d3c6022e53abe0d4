// SPDX-FileCopyrightText: 2026 The Velmo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "failure_message.h"

namespace velmo {
namespace {

std::string DeviceName(const QtSerialLink& link) {
    const std::string port = "serial port " + std::to_string(link.Port());
    return link.DevicePath().empty() ? port : port + " (" + link.DevicePath() + ")";
}

std::string WithStop(std::string text) {
    if (!text.empty() && text.back() != '.') text += '.';
    return text;
}

std::string NotFoundAdvice(const QtSerialLink& link) {
    std::string advice = "Check that the receiver's serial cable or USB serial adapter is connected.";
#ifndef _WIN32
    const std::string port = std::to_string(link.Port());
    advice += " Velmo uses /dev/velmo" + port +
              " when it exists (a udev rule can give a USB "
              "adapter that name), otherwise /dev/ttyS" +
              std::to_string(link.Port() - 1) + ".";
#else
    (void)link;
#endif
    return advice;
}

std::string PermissionAdvice() {
    std::string advice = "Another program may be using the port: close it and try again.";
#ifndef _WIN32
    advice +=
        " Otherwise your user may not be allowed to use serial ports: on Linux the user must be "
        "in the dialout group. Run \"sudo usermod -aG dialout $USER\", then log out and log in "
        "again.";
#endif
    return advice;
}

}  // namespace

std::string DescribeFailure(const QtSerialLink& link, const SerialError& error) {
    const std::string reported = "The serial layer reported: " + WithStop(error.what());
    const LinkFailure& failure = link.LastFailure();
    // An error the link did not record itself gets the plain wording.
    const FailureStage stage = failure.description == error.what() ? failure.stage : FailureStage::None;

    switch (stage) {
        case FailureStage::Open: {
            std::string text = "Could not open " + DeviceName(link) + ". " + reported;
            if (failure.code == QSerialPort::DeviceNotFoundError) {
                text += "\n\n" + NotFoundAdvice(link);
            } else if (failure.code == QSerialPort::PermissionError) {
                text += "\n\n" + PermissionAdvice();
            }
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
