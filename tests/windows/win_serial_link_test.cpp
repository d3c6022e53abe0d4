// SPDX-FileCopyrightText: 2026 The Velmo developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The Windows serial link on two COM ports joined as by a null-modem cable
// (serial_link_test.py maps COM5 and COM6 of Wine to two pseudo-terminals
// it relays between). The link opens COM5; the test plays the receiver on
// COM6 through the system's calls. No event loop runs in this program at
// all: the link must send and take bytes by itself.

#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <functional>
#include <string>
#include <thread>

#include "failure_message.h"
#include "win_serial_link.h"

namespace velmo {
namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

constexpr char kLinkPort[] = "COM5";
constexpr wchar_t kFarPort[] = L"\\\\.\\COM6";
// Written by the far end, it makes the cable's relay hang up COM5.
constexpr char kHangUp[] = "~velmo: hang up the near end~";

bool WaitUntil(const std::function<bool()>& done, std::chrono::milliseconds limit = 10s) {
    const auto deadline = Clock::now() + limit;
    while (!done()) {
        if (Clock::now() > deadline) return false;
        Sleep(1);
    }
    return true;
}

// The receiver's end of the cable.
class FarEnd {
public:
    FarEnd() {
        handle_ = CreateFileW(kFarPort, GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
        if (handle_ == INVALID_HANDLE_VALUE) return;
        COMMTIMEOUTS timeouts{};
        timeouts.ReadIntervalTimeout = MAXDWORD;
        SetCommTimeouts(handle_, &timeouts);
        PurgeComm(handle_, PURGE_RXCLEAR);
    }
    ~FarEnd() {
        if (handle_ != INVALID_HANDLE_VALUE) CloseHandle(handle_);
    }
    FarEnd(const FarEnd&) = delete;
    FarEnd& operator=(const FarEnd&) = delete;

    bool Ready() const { return handle_ != INVALID_HANDLE_VALUE; }

    bool Send(const std::string& bytes) {
        DWORD sent = 0;
        return WriteFile(handle_, bytes.data(), static_cast<DWORD>(bytes.size()), &sent, nullptr) &&
               sent == bytes.size();
    }

    // Waits until `count` bytes have come and returns them (fewer if they
    // did not come in time).
    std::string Receive(std::size_t count, std::chrono::milliseconds limit = 10s) {
        std::string got;
        WaitUntil(
            [&] {
                char buffer[4096];
                DWORD read = 0;
                const auto want = static_cast<DWORD>(std::min<std::size_t>(sizeof buffer, count - got.size()));
                if (ReadFile(handle_, buffer, want, &read, nullptr)) got.append(buffer, read);
                return got.size() >= count;
            },
            limit);
        return got;
    }

private:
    HANDLE handle_ = INVALID_HANDLE_VALUE;
};

std::string EveryByteValue() {
    std::string bytes;
    for (int value = 0; value < 256; ++value) bytes += static_cast<char>(value);
    return bytes;
}

class WinSerialLinkOnCom : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(far_.Ready()) << "COM6 did not open: is the test run by serial_link_test.py?"; }

    void OpenLink(int input_length = 0) {
        link_.Configure(3, "9600,N,8,1", input_length);
        link_.Open();
    }

    // Reads until `count` bytes have come; `largest` is the largest read.
    std::string ReadFromLink(std::size_t count, std::size_t* largest = nullptr) {
        std::string got;
        WaitUntil(
            [&] {
                const std::string read = link_.ReadAll();
                if (largest) *largest = std::max(*largest, read.size());
                got += read;
                return got.size() >= count;
            },
            30s);
        return got;
    }

    FarEnd far_;
    WinSerialLink link_{[](int) { return std::string(kLinkPort); }};
};

TEST_F(WinSerialLinkOnCom, OpensTheMappedPortClosesAndOpensAgain) {
    EXPECT_FALSE(link_.IsOpen());
    OpenLink();
    EXPECT_TRUE(link_.IsOpen());
    EXPECT_EQ(link_.DevicePath(), kLinkPort);
    link_.Close();
    EXPECT_FALSE(link_.IsOpen());

    link_.Open();
    link_.Write("H101\r\n");
    EXPECT_EQ(far_.Receive(6), "H101\r\n");
}

TEST_F(WinSerialLinkOnCom, WritesArriveUnchangedAndInOrder) {
    OpenLink();
    const std::string all = EveryByteValue();
    link_.Write("K00081300000060400\r\n");
    link_.Write(all);
    link_.Write("J4180\r\n");
    const std::string expected = "K00081300000060400\r\n" + all + "J4180\r\n";
    EXPECT_EQ(far_.Receive(expected.size()), expected);
}

// A last command written just before the port closes still goes out whole,
// after what was written before it.
TEST_F(WinSerialLinkOnCom, CloseLetsTheWriteUnderWayFinish) {
    OpenLink();
    std::string big;
    for (int i = 0; i < 64; ++i) big += EveryByteValue();
    const std::string expected = big + "H100\r\n";
    // The line takes bytes as they come, as a receiver's does.
    std::string got;
    std::thread receiver([&] { got = far_.Receive(expected.size()); });
    link_.Write(big);
    link_.Write("H100\r\n");
    link_.Close();
    receiver.join();
    ASSERT_EQ(got.size(), expected.size());
    const auto differ = std::mismatch(got.begin(), got.end(), expected.begin());
    EXPECT_TRUE(differ.first == got.end()) << "the bytes differ from byte " << (differ.first - got.begin());
}

TEST_F(WinSerialLinkOnCom, AReadTakesWhatTheDriverHoldsAndThenNothing) {
    OpenLink();
    EXPECT_EQ(link_.ReadAll(), "");
    ASSERT_TRUE(far_.Send("G000\r\n"));
    EXPECT_EQ(ReadFromLink(6), "G000\r\n");
    EXPECT_EQ(link_.ReadAll(), "");
}

TEST_F(WinSerialLinkOnCom, RepliesComeBackWholeAndInOrderAcrossReads) {
    OpenLink();
    std::string sent;
    for (int i = 0; i < 200; ++i) {
        const std::string reply = "I1" + std::to_string(10 + i % 90) + "\r\n";
        ASSERT_TRUE(far_.Send(reply));
        sent += reply;
    }
    EXPECT_EQ(ReadFromLink(sent.size()), sent);
}

// A flood waits in the system rather than in memory: each read takes at
// most the read limit.
TEST_F(WinSerialLinkOnCom, AFloodComesBackInBoundedReadsWholeAndInOrder) {
    OpenLink();
    std::string flood;
    for (int i = 0; flood.size() < (1u << 20); ++i) flood += "I0" + std::to_string(i) + "\r\n";
    // Sent while the link reads: the line holds only a few KiB.
    bool sent = false;
    std::thread sender([&] { sent = far_.Send(flood); });
    std::size_t largest = 0;
    const std::string got = ReadFromLink(flood.size(), &largest);
    sender.join();
    EXPECT_TRUE(sent);
    ASSERT_EQ(got.size(), flood.size());
    EXPECT_TRUE(got == flood) << "the text came back changed";
    EXPECT_LE(largest, static_cast<std::size_t>(WinSerialLink::kReadLimit));
}

TEST_F(WinSerialLinkOnCom, APositiveInputLengthLimitsEachRead) {
    OpenLink(4);
    ASSERT_TRUE(far_.Send("G000\r\nI180\r\n"));
    std::size_t largest = 0;
    EXPECT_EQ(ReadFromLink(12, &largest), "G000\r\nI180\r\n");
    EXPECT_LE(largest, 4u);
}

TEST_F(WinSerialLinkOnCom, MisuseThrowsAndLeavesThePortAsItWas) {
    EXPECT_THROW(link_.Open(), SerialError) << "opened before it was configured";
    EXPECT_FALSE(link_.IsOpen());
    link_.Configure(3, "9600,N,8,1", 0);
    EXPECT_THROW(link_.Write("H101\r\n"), SerialError);
    EXPECT_THROW(link_.ReadAll(), SerialError);

    link_.Open();
    EXPECT_THROW(link_.Open(), SerialError);
    EXPECT_THROW(link_.Configure(3, "9600,N,8,1", 0), SerialError);
    EXPECT_EQ(link_.LastFailure().stage, FailureStage::Configure);
    EXPECT_TRUE(link_.IsOpen());
    link_.Write("H101\r\n");
    EXPECT_EQ(far_.Receive(6), "H101\r\n");
}

// As when a USB serial adapter is pulled out: the first call after it
// throws, every later one throws the same, and the message says the
// connection was lost.
TEST_F(WinSerialLinkOnCom, AHungUpLineEndsTheConnection) {
    OpenLink();
    ASSERT_TRUE(far_.Send(kHangUp));
    std::string first;
    const bool thrown = WaitUntil([&] {
        try {
            link_.ReadAll();
            link_.Write("I1?\r\n");
            return false;
        } catch (const SerialError& error) {
            first = error.what();
            return true;
        }
    });
    ASSERT_TRUE(thrown) << "the link went on as if the line were there";
    EXPECT_EQ(link_.LastFailure().stage, FailureStage::Session);
    EXPECT_EQ(link_.LastFailure().description, first);
    EXPECT_THROW(link_.IsOpen(), SerialError);
    EXPECT_THROW(link_.ReadAll(), SerialError);
    const std::string message = DescribeFailure(link_, SerialError(first));
    EXPECT_NE(message.find("The connection to the receiver on serial port 3 (COM5) was lost"), std::string::npos)
        << message;
}

// Windows lets one program at a time have a COM port. Wine does not hold
// to that, which is said rather than passed over.
TEST_F(WinSerialLinkOnCom, APortInUseIsRefusedWithAdvice) {
    OpenLink();
    WinSerialLink second([](int) { return std::string(kLinkPort); });
    second.Configure(1, "9600,N,8,1", 0);
    std::string message;
    try {
        second.Open();
    } catch (const SerialError& error) {
        message = DescribeFailure(second, error);
    }
    if (message.empty()) GTEST_SKIP() << "Wine let a second handle open COM5, as Windows would not";
    EXPECT_EQ(second.LastFailure().code, QSerialPort::PermissionError) << second.LastFailure().description;
    EXPECT_NE(message.find("Another program is using COM1"), std::string::npos) << message;
}

}  // namespace
}  // namespace velmo
