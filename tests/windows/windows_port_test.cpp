// SPDX-FileCopyrightText: 2026 The Velmo developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The serial adapter on Windows' own ports, run under Wine: port N is COMN,
// and a port that is not there is reported with what to do on Windows.

#include <gtest/gtest.h>

#include <string>

#include "failure_message.h"
#include "port_device.h"
#include "win_serial_link.h"

namespace velmo {
namespace {

bool Has(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

TEST(WindowsPorts, PortNumbersAreComPorts) {
    EXPECT_EQ(SerialDevicePath(1), "COM1");
    EXPECT_EQ(SerialDevicePath(2), "COM2");
    EXPECT_EQ(SerialDevicePath(3), "COM3");
}

TEST(WindowsPorts, AMissingComPortIsNamedWithDeviceManagerAdvice) {
    WinSerialLink link;
    link.Configure(250, "9600,N,8,1", 0);
    std::string message;
    try {
        link.Open();
    } catch (const SerialError& error) {
        message = DescribeFailure(link, error);
    }
    ASSERT_FALSE(message.empty()) << "COM250 opened";
    EXPECT_EQ(link.LastFailure().code, QSerialPort::DeviceNotFoundError) << link.LastFailure().description;
    EXPECT_FALSE(link.IsOpen());
    EXPECT_TRUE(Has(message, "Could not open serial port 250 (COM250)")) << message;
    EXPECT_TRUE(Has(message, link.LastFailure().description)) << message;
    EXPECT_TRUE(Has(message, "Device Manager")) << message;
    EXPECT_TRUE(Has(message, "COM Port Number")) << message;
    EXPECT_FALSE(Has(message, "/dev/")) << message;
}

}  // namespace
}  // namespace velmo
