// SPDX-FileCopyrightText: 2026 The Velmo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include <gtest/gtest.h>

#include <unistd.h>

#include <QCoreApplication>
#include <algorithm>
#include <atomic>
#include <filesystem>
#include <functional>
#include <initializer_list>
#include <string>
#include <thread>

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

// How many descriptors of this process are open on `device`.
int OpenDescriptorsOn(const std::string& device) {
    int count = 0;
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator("/proc/self/fd", error)) {
        std::error_code ignored;
        // Once the master is closed the slave's node is removed, and the
        // descriptors still open on it show as "(deleted)".
        const std::string target = std::filesystem::read_symlink(entry.path(), ignored).string();
        if (target == device || target == device + " (deleted)") ++count;
    }
    return count;
}

// The receiver's end, and what has reached it that the test has not yet
// looked at.
class Line {
public:
    const std::string& Path() const { return receiver_.Path(); }
    PtyReceiver& Receiver() { return receiver_; }
    void Send(const std::string& bytes) { receiver_.Send(bytes); }
    // Waits until `count` more bytes have reached the receiver and returns
    // them. Qt events run meanwhile only if asked, so a test can tell
    // whether bytes went out without the event loop.
    std::string Receive(std::size_t count, Events events = Events::Held) {
        WaitUntil([&] { return receiver_.Bytes().size() >= seen_ + count; }, 10s, events);
        std::string got = receiver_.Bytes().substr(seen_);
        seen_ += got.size();
        return got;
    }
    // Bytes the receiver sent that wait at the slave, read by nobody yet.
    bool WaitPending(int count, Events events = Events::Held) {
        return WaitUntil([&] { return receiver_.PendingAtSlave() == count; }, 10s, events);
    }

private:
    PtyReceiver receiver_{Silent()};
    std::size_t seen_ = 0;
};

std::string EveryByteValue() {
    std::string bytes;
    for (int value = 0; value < 256; ++value) bytes += static_cast<char>(value);
    return bytes;
}

class QtSerialLinkOnPty : public ::testing::Test {
protected:
    void OpenLink(int input_length = 0) {
        link_.Configure(3, "9600,N,8,1", input_length);
        link_.Open();
    }

    Line pty_;
    QtSerialLink link_{[this](int) { return pty_.Path(); }};
};

TEST_F(QtSerialLinkOnPty, OpensTheMappedDeviceAndClosesAgain) {
    EXPECT_FALSE(link_.IsOpen());
    OpenLink();
    EXPECT_TRUE(link_.IsOpen());
    EXPECT_EQ(link_.DevicePath(), pty_.Path());
    link_.Close();
    EXPECT_FALSE(link_.IsOpen());

    link_.Open();
    link_.Write("H101\r\n");
    EXPECT_EQ(pty_.Receive(6), "H101\r\n");
}

// Nothing runs the event loop here: the bytes must leave during Write().
TEST_F(QtSerialLinkOnPty, WriteSendsEveryByteUnchangedAndAtOnce) {
    OpenLink();
    link_.Write("K00081300000060400\r\n");
    EXPECT_EQ(pty_.Receive(20), "K00081300000060400\r\n");

    const std::string all = EveryByteValue();
    link_.Write(all);
    EXPECT_EQ(pty_.Receive(all.size()), all);
}

// More than the line holds at once: the rest follows from the event loop
// and a full queue is not taken for a write error.
TEST_F(QtSerialLinkOnPty, LargeWriteToSlowReceiverArrivesWhole) {
    OpenLink();
    std::string big;
    for (int i = 0; i < 1024; ++i) big += EveryByteValue();
    pty_.Receiver().PauseReading(true);
    ASSERT_NO_THROW(link_.Write(big));
    pty_.Receiver().PauseReading(false);
    EXPECT_EQ(pty_.Receive(big.size(), Events::Run), big);
    EXPECT_TRUE(link_.IsOpen());
}

TEST_F(QtSerialLinkOnPty, ReadAllIsEmptyWhenNothingArrived) {
    OpenLink();
    EXPECT_EQ(link_.ReadAll(), "");
    QCoreApplication::processEvents();
    EXPECT_EQ(link_.ReadAll(), "");
}

// The bytes wait in the system's queue; the event loop never ran, so only
// ReadAll() itself can fetch them.
TEST_F(QtSerialLinkOnPty, ReadAllTakesWhatTheEventLoopHasNotDelivered) {
    OpenLink();
    pty_.Send("G000\r\n");
    ASSERT_TRUE(pty_.WaitPending(6));
    EXPECT_EQ(link_.ReadAll(), "G000\r\n");
    EXPECT_EQ(link_.ReadAll(), "");
}

// Part of the text already sits in Qt's buffer, the rest still in the
// system's queue: one read returns both, in order, and nothing more.
TEST_F(QtSerialLinkOnPty, RepliesBeforeOneReadComeBackTogetherInOrder) {
    OpenLink();
    pty_.Send("I007\r\n");
    pty_.Send("I180\r\n");
    ASSERT_TRUE(pty_.WaitPending(12));
    ASSERT_TRUE(pty_.WaitPending(0, Events::Run));  // taken in by Qt
    pty_.Send("G001\r\n");
    ASSERT_TRUE(pty_.WaitPending(6));

    EXPECT_EQ(link_.ReadAll(), "I007\r\nI180\r\nG001\r\n");
    EXPECT_EQ(link_.ReadAll(), "");
}

TEST_F(QtSerialLinkOnPty, ReplyAfterAReadComesWithTheNextRead) {
    OpenLink();
    EXPECT_EQ(link_.ReadAll(), "");
    pty_.Send("I1");
    std::string got;
    ASSERT_TRUE(WaitUntil([&] { return (got += link_.ReadAll()) == "I1"; }));
    pty_.Send("3F\r\n");
    ASSERT_TRUE(WaitUntil([&] { return (got += link_.ReadAll()) == "I13F\r\n"; }));
}

// A flood waits in the system rather than in memory: each read takes at
// most the read limit, and read after read the text comes back whole and in
// order.
TEST_F(QtSerialLinkOnPty, AFloodComesBackInBoundedReadsWholeAndInOrder) {
    OpenLink();
    std::string flood;
    for (int i = 0; flood.size() < (1u << 20); ++i) flood += "I0" + std::to_string(i) + "\r\n";
    pty_.Send(flood);
    const auto sent = [&] { return flood.size() - pty_.Receiver().Unsent(); };
    // Without a bound the event loop would take in all it can get before
    // the first read; with one, the sender soon waits.
    (void)WaitUntil([&] { return sent() >= 4 * QtSerialLink::kReadLimit; }, 500ms);
    std::string got;
    std::size_t largest = 0;
    const bool whole = WaitUntil(
        [&] {
            const std::string read = link_.ReadAll();
            largest = std::max(largest, read.size());
            got += read;
            return got.size() >= flood.size();
        },
        30s);
    ASSERT_TRUE(whole) << got.size() << " of " << flood.size() << " bytes";
    EXPECT_TRUE(got == flood) << "the text came back changed";
    EXPECT_EQ(largest, static_cast<std::size_t>(QtSerialLink::kReadLimit));
}

TEST_F(QtSerialLinkOnPty, PositiveInputLengthLimitsEachRead) {
    OpenLink(4);
    pty_.Send("G000\r\n");
    ASSERT_TRUE(pty_.WaitPending(6));
    EXPECT_EQ(link_.ReadAll(), "G000");
    EXPECT_EQ(link_.ReadAll(), "\r\n");
}

TEST_F(QtSerialLinkOnPty, TextSentWhileClosedIsNotReceived) {
    link_.Configure(3, "9600,N,8,1", 0);
    pty_.Send("stale\r\n");
    ASSERT_TRUE(pty_.WaitPending(7));
    link_.Open();
    EXPECT_EQ(link_.ReadAll(), "");
}

TEST_F(QtSerialLinkOnPty, WriteAndReadOnAClosedPortThrow) {
    link_.Configure(3, "9600,N,8,1", 0);
    EXPECT_THROW(link_.Write("H101\r\n"), SerialError);
    EXPECT_THROW(link_.ReadAll(), SerialError);
    EXPECT_FALSE(link_.IsOpen());
}

TEST_F(QtSerialLinkOnPty, OpenBeforeConfigureThrows) {
    EXPECT_THROW(link_.Open(), SerialError);
    EXPECT_FALSE(link_.IsOpen());
}

struct RefusedConfiguration {
    int port;
    std::string settings;
    int input_length;
};

void PrintTo(const RefusedConfiguration& c, std::ostream* out) {
    *out << c.port << ", \"" << c.settings << "\", " << c.input_length;
}

class QtSerialLinkRefuses : public ::testing::TestWithParam<RefusedConfiguration> {};

TEST_P(QtSerialLinkRefuses, BadConfigurationAndKeepsTheOldOne) {
    PtyReceiver pty(Silent());
    int mapped_port = 0;
    QtSerialLink link([&](int port) {
        mapped_port = port;
        return pty.Path();
    });
    link.Configure(2, "9600,N,8,1", 0);
    const auto& bad = GetParam();
    EXPECT_THROW(link.Configure(bad.port, bad.settings, bad.input_length), SerialError);
    EXPECT_EQ(link.LastFailure().stage, FailureStage::Configure);
    link.Open();
    EXPECT_EQ(mapped_port, 2);
}

INSTANTIATE_TEST_SUITE_P(Values, QtSerialLinkRefuses,
                         ::testing::Values(RefusedConfiguration{0, "9600,N,8,1", 0},
                                           RefusedConfiguration{-3, "9600,N,8,1", 0},
                                           RefusedConfiguration{3, "9600,N,8", 0},
                                           RefusedConfiguration{3, "fast,N,8,1", 0},
                                           RefusedConfiguration{3, "9600,N,8,1", -1}));

TEST_F(QtSerialLinkOnPty, ConfigureWhileOpenIsRefused) {
    OpenLink();
    EXPECT_THROW(link_.Configure(1, "9600,N,8,1", 0), SerialError);
    EXPECT_TRUE(link_.IsOpen());
}

// --- Opening fails -------------------------------------------------------

class OpenFailure : public ::testing::Test {
protected:
    void SetUp() override {
        dir_ = std::filesystem::temp_directory_path() / ("velmo-open-failure-" + std::to_string(getpid()));
        std::filesystem::create_directories(dir_);
    }
    void TearDown() override { std::filesystem::remove_all(dir_); }

    // Opens `device` and expects a SerialError carrying the link's record.
    static void ExpectOpenFails(QtSerialLink& link, QSerialPort::SerialPortError code) {
        link.Configure(1, "9600,N,8,1", 0);
        try {
            link.Open();
            ADD_FAILURE() << "opened " << link.DevicePath();
        } catch (const SerialError& error) {
            EXPECT_FALSE(std::string(error.what()).empty());
            EXPECT_EQ(link.LastFailure().description, error.what());
        }
        EXPECT_EQ(link.LastFailure().stage, FailureStage::Open);
        EXPECT_EQ(link.LastFailure().code, code) << link.LastFailure().description;
        EXPECT_FALSE(link.IsOpen());
    }

    std::filesystem::path dir_;
};

TEST_F(OpenFailure, MissingDevice) {
    const std::string missing = (dir_ / "ttyMissing").string();
    QtSerialLink link([&](int) { return missing; });
    ExpectOpenFails(link, QSerialPort::DeviceNotFoundError);
    EXPECT_EQ(link.DevicePath(), missing);
}

TEST_F(OpenFailure, DanglingAlias) {
    const auto alias = dir_ / "velmo1";
    std::filesystem::create_symlink(dir_ / "ttyUSB-unplugged", alias);
    QtSerialLink link([&](int) { return alias.string(); });
    ExpectOpenFails(link, QSerialPort::DeviceNotFoundError);
    EXPECT_EQ(link.DevicePath(), alias.string());
}

TEST_F(OpenFailure, DeviceHeldByAnotherOpen) {
    PtyReceiver pty(Silent());
    QtSerialLink holder([&](int) { return pty.Path(); });
    holder.Configure(1, "9600,N,8,1", 0);
    holder.Open();

    QtSerialLink second([&](int) { return pty.Path(); });
    ExpectOpenFails(second, QSerialPort::PermissionError);
    EXPECT_TRUE(holder.IsOpen());
}

// Qt's lock is named after the path opened; an alias must not let a second
// program in through the real name.
TEST_F(OpenFailure, DeviceHeldThroughAnAlias) {
    PtyReceiver pty(Silent());
    const auto alias = dir_ / "velmo3";
    std::filesystem::create_symlink(pty.Path(), alias);
    QtSerialLink holder([&](int) { return alias.string(); });
    holder.Configure(3, "9600,N,8,1", 0);
    holder.Open();
    EXPECT_EQ(holder.DevicePath(), alias.string());

    QtSerialLink second([&](int) { return pty.Path(); });
    ExpectOpenFails(second, QSerialPort::PermissionError);
}

// --- The device vanishes mid-session ---------------------------------------

struct VanishCase {
    const char* name;
    // The first call after the hang-up, which must throw.
    std::function<void(QtSerialLink&)> first_call;
    // IsOpen() learns of the hang-up only through the event loop; Write()
    // and ReadAll() touch the device and must find out by themselves.
    bool run_events;
};

void PrintTo(const VanishCase& c, std::ostream* out) { *out << c.name; }

class DeviceVanishes : public ::testing::TestWithParam<VanishCase> {};

TEST_P(DeviceVanishes, EveryLaterCallThrowsAndTheDeviceIsReleased) {
    PtyReceiver pty(Silent());
    const int before_open = OpenDescriptorsOn(pty.Path());
    QtSerialLink link([&](int) { return pty.Path(); });
    link.Configure(3, "9600,N,8,1", 0);
    link.Open();
    link.Write("H101\r\n");
    ASSERT_TRUE(WaitUntil([&] { return pty.Bytes() == "H101\r\n"; }, 10s, Events::Held));

    pty.Unplug();
    std::string first_error;
    ASSERT_TRUE(WaitUntil(
        [&] {
            try {
                GetParam().first_call(link);
                return false;
            } catch (const SerialError& error) {
                first_error = error.what();
                return true;
            }
        },
        10s, GetParam().run_events ? Events::Run : Events::Held))
        << "the hang-up was never noticed";
    EXPECT_FALSE(first_error.empty());
    EXPECT_EQ(link.LastFailure().stage, FailureStage::Session);
    EXPECT_EQ(link.LastFailure().description, first_error);

    // The device is closed from the event loop, which ends Qt's error storm.
    EXPECT_TRUE(WaitUntil([&] { return OpenDescriptorsOn(pty.Path()) == before_open; }));

    for (const auto& call : std::initializer_list<std::function<void()>>{
             [&] { (void)link.IsOpen(); }, [&] { link.Write("H100\r\n"); }, [&] { (void)link.ReadAll(); },
             [&] { link.Close(); }, [&] { link.Open(); }, [&] { link.Configure(3, "9600,N,8,1", 0); }}) {
        try {
            call();
            ADD_FAILURE() << "a call after the hang-up did not throw";
        } catch (const SerialError& error) {
            EXPECT_EQ(error.what(), first_error);
        }
    }
}

INSTANTIATE_TEST_SUITE_P(FirstCall, DeviceVanishes,
                         ::testing::Values(VanishCase{"IsOpen", [](QtSerialLink& l) { (void)l.IsOpen(); }, true},
                                           VanishCase{"Write", [](QtSerialLink& l) { l.Write("I1?\r\n"); }, false},
                                           VanishCase{"ReadAll", [](QtSerialLink& l) { (void)l.ReadAll(); }, false}),
                         [](const auto& param_info) { return std::string(param_info.param.name); });

}  // namespace
}  // namespace velmo
