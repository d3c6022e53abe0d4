// SPDX-FileCopyrightText: 2026 The Velmo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include <gtest/gtest.h>

#include <unistd.h>

#include <functional>
#include <string>
#include <vector>

#include "failure_message.h"
#include "pty_receiver.h"
#include "qt_serial_link.h"
#include "wait.h"

namespace velmo {
namespace {

using namespace std::chrono_literals;
using testing::Events;
using testing::PtyReceiver;
using testing::Silent;
using testing::WaitUntil;

// Runs `operation`, which must fail, and returns the window's message.
std::string MessageFor(const PortLink& link, const std::function<void()>& operation) {
    try {
        operation();
    } catch (const SerialError& error) {
        return DescribeFailure(link, error);
    }
    ADD_FAILURE() << "the operation did not fail";
    return {};
}

bool Has(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

const char kDialoutHint[] = "sudo usermod -aG dialout $USER";

TEST(DescribeFailure, MissingDeviceNamesPortDeviceAndCause) {
    const std::string missing = "/nonexistent/velmo-test-" + std::to_string(getpid());
    QtSerialLink link([&](int) { return missing; });
    link.Configure(3, "9600,N,8,1", 0);
    const std::string message = MessageFor(link, [&] { link.Open(); });

    EXPECT_TRUE(Has(message, "Could not open serial port 3")) << message;
    EXPECT_TRUE(Has(message, missing)) << message;
    EXPECT_TRUE(Has(message, link.LastFailure().description)) << message;
    EXPECT_TRUE(Has(message, "/dev/velmo3")) << message;
    EXPECT_TRUE(Has(message, "/dev/ttyS2")) << message;
    EXPECT_FALSE(Has(message, "dialout")) << message;
}

TEST(DescribeFailure, PortInUseMentionsTheOtherProgramAndDialout) {
    PtyReceiver pty(Silent());
    QtSerialLink holder([&](int) { return pty.Path(); });
    holder.Configure(1, "9600,N,8,1", 0);
    holder.Open();
    QtSerialLink link([&](int) { return pty.Path(); });
    link.Configure(1, "9600,N,8,1", 0);
    const std::string message = MessageFor(link, [&] { link.Open(); });

    ASSERT_EQ(link.LastFailure().code, QSerialPort::PermissionError);
    EXPECT_TRUE(Has(message, "Could not open serial port 1 (" + pty.Path() + ")")) << message;
    EXPECT_TRUE(Has(message, link.LastFailure().description)) << message;
    EXPECT_TRUE(Has(message, "Another program")) << message;
    EXPECT_TRUE(Has(message, kDialoutHint)) << message;
    EXPECT_TRUE(Has(message, "log in again")) << message;
}

TEST(DescribeFailure, LostConnectionSaysSoWithoutDialout) {
    PtyReceiver pty(Silent());
    QtSerialLink link([&](int) { return pty.Path(); });
    link.Configure(2, "9600,N,8,1", 0);
    link.Open();
    pty.Unplug();
    std::string message;
    ASSERT_TRUE(WaitUntil(
        [&] {
            message = MessageFor(link, [&] { (void)link.ReadAll(); });
            return !message.empty();
        },
        5s, Events::Held));

    EXPECT_TRUE(Has(message, "lost")) << message;
    EXPECT_TRUE(Has(message, "no longer there")) << message;
    EXPECT_TRUE(Has(message, pty.Path())) << message;
    EXPECT_TRUE(Has(message, link.LastFailure().description)) << message;
    EXPECT_FALSE(Has(message, "Could not open")) << message;
    EXPECT_FALSE(Has(message, "dialout")) << message;
}

TEST(DescribeFailure, RefusedSettingsAndForeignErrors) {
    QtSerialLink link([](int) { return std::string("/dev/null"); });
    const std::string refused = MessageFor(link, [&] { link.Configure(1, "9600,Q,8,1", 0); });
    EXPECT_TRUE(Has(refused, "settings were refused")) << refused;
    EXPECT_TRUE(Has(refused, "9600,Q,8,1")) << refused;

    // An error the link never recorded is not dressed up as an open failure.
    const std::string foreign = DescribeFailure(link, SerialError("Something else broke"));
    EXPECT_EQ(foreign, "The serial port failed. The serial layer reported: Something else broke.");
}

// The advice for each system and failure, as Windows and Linux users see it.
struct AdviceCase {
    const char* name;
    HostSystem system;
    QSerialPort::SerialPortError code;
    std::vector<std::string> has;
    std::vector<std::string> lacks;
};

class OpenAdvice : public ::testing::TestWithParam<AdviceCase> {};

TEST_P(OpenAdvice, SaysWhatToDoThere) {
    const std::string advice = OpenFailureAdvice(GetParam().system, 2, GetParam().code);
    for (const auto& part : GetParam().has) EXPECT_TRUE(Has(advice, part)) << part << " not in: " << advice;
    for (const auto& part : GetParam().lacks) EXPECT_FALSE(Has(advice, part)) << part << " in: " << advice;
}

INSTANTIATE_TEST_SUITE_P(
    Systems, OpenAdvice,
    ::testing::Values(
        AdviceCase{"WindowsMissing",
                   HostSystem::Windows,
                   QSerialPort::DeviceNotFoundError,
                   {"COM2", "Device Manager", "Ports (COM & LPT)", "Port Settings", "Advanced", "COM Port Number"},
                   {"/dev/", "dialout"}},
        AdviceCase{"WindowsHeld",
                   HostSystem::Windows,
                   QSerialPort::PermissionError,
                   {"Another program is using COM2", "close it"},
                   {"dialout", "Device Manager"}},
        AdviceCase{"WindowsHeldUnknown",
                   HostSystem::Windows,
                   QSerialPort::UnknownError,
                   {"Another program is using COM2"},
                   {"dialout"}},
        AdviceCase{"LinuxMissing",
                   HostSystem::Linux,
                   QSerialPort::DeviceNotFoundError,
                   {"/dev/velmo2", "/dev/ttyS1"},
                   {"COM", "Device Manager", "dialout"}},
        AdviceCase{"LinuxHeld",
                   HostSystem::Linux,
                   QSerialPort::PermissionError,
                   {"Another program", kDialoutHint},
                   {"COM", "Device Manager"}},
        AdviceCase{"LinuxOther", HostSystem::Linux, QSerialPort::UnknownError, {}, {"dialout", "Another program"}}),
    [](const ::testing::TestParamInfo<AdviceCase>& param_info) { return std::string(param_info.param.name); });

}  // namespace
}  // namespace velmo
