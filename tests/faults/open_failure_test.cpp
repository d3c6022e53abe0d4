// SPDX-FileCopyrightText: 2026 The Velmo developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Switching on when the port cannot be opened: the user is told why, with
// the serial layer's words and the device, and the program ends with a
// failure status. Nothing reaches the receiver.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <iostream>

#include "child_cases.h"
#include "panel_on_port.h"
#include "pty_receiver.h"
#include "wait.h"

namespace velmo::faults {
namespace {

using namespace velmo::testing;
using namespace std::chrono_literals;

namespace fs = std::filesystem;

constexpr const char* kDevice = "VELMO_FAULTS_DEVICE";
constexpr const char* kAdvice = "VELMO_FAULTS_ADVICE";
constexpr const char* kHold = "VELMO_FAULTS_HOLD";

constexpr const char* kNotFoundAdvice = "Check that the receiver's serial cable";
constexpr const char* kInUseAdvice = "Another program may be using the port";
constexpr const char* kDialoutAdvice = "dialout";

// Switches on and checks everything that must follow a failed open.
void ExpectSwitchingOnFails(const std::string& device, const std::string& advice) {
    PanelOnPort panel(device);
    panel.user.Click("RadioOn");

    ASSERT_EQ(panel.messages.size(), 1u);
    const std::string& message = panel.messages.front();
    std::cout << "message: " << message << std::endl;
    const LinkFailure& failure = panel.link.LastFailure();
    EXPECT_EQ(failure.stage, FailureStage::Open);
    EXPECT_FALSE(failure.description.empty());
    EXPECT_NE(message.find(failure.description), std::string::npos) << "the serial layer's words";
    EXPECT_NE(message.find(device), std::string::npos) << "the device";
    EXPECT_NE(message.find(advice), std::string::npos) << "what the user can do";

    EXPECT_TRUE(panel.window.Ending());
    EXPECT_EQ(panel.window.ExitStatus(), 1);
    EXPECT_FALSE(panel.link.IsOpen());
    EXPECT_TRUE(panel.user.CodesOut().empty());
    EXPECT_EQ(panel.user.Background("OnOffLabel"), QColor(255, 0, 0));

    // An ending program does nothing more: no second attempt, no second message.
    panel.user.Click("RadioOn");
    EXPECT_EQ(panel.messages.size(), 1u);
}

class OpenFails : public ::testing::Test {
protected:
    void SetUp() override {
        dir_ = fs::temp_directory_path() / ("velmo-faults-" + std::to_string(getpid()));
        fs::create_directories(dir_);
    }
    void TearDown() override { fs::remove_all(dir_); }

    fs::path dir_;
};

struct LocalCase {
    const char* name;
    std::function<std::string(const fs::path& dir)> make_device;
    const char* advice;
};

void PrintTo(const LocalCase& c, std::ostream* out) { *out << c.name; }

class OpenFailsLocally : public OpenFails, public ::testing::WithParamInterface<LocalCase> {};

TEST_P(OpenFailsLocally, TheUserIsToldAndTheProgramEnds) {
    ExpectSwitchingOnFails(GetParam().make_device(dir_), GetParam().advice);
}

INSTANTIATE_TEST_SUITE_P(
    Device, OpenFailsLocally,
    ::testing::Values(LocalCase{"Missing", [](const fs::path& dir) { return (dir / "ttyUSB9").string(); },
                                kNotFoundAdvice},
                      LocalCase{"DanglingAlias",
                                [](const fs::path& dir) {
                                    fs::create_symlink(dir / "ttyUSB-unplugged", dir / "velmo1");
                                    return (dir / "velmo1").string();
                                },
                                kNotFoundAdvice},
                      LocalCase{"NotATerminal", [](const fs::path&) { return std::string("/dev/null"); }, ""},
                      LocalCase{"Directory", [](const fs::path& dir) { return dir.string(); }, ""}),
    [](const auto& param_info) { return std::string(param_info.param.name); });

// --- Cases that need another process ---------------------------------------

// Another program holds the device: through Qt's serial port (its lock file
// and an exclusive open) or, like many terminal programs, through the
// exclusive-open mode alone.
TEST(Child, HoldsThePort) {
    const std::string device = ChildSetting(kDevice);
    std::unique_ptr<QtSerialLink> link;
    int fd = -1;
    if (ChildSetting(kHold) == "exclusive") {
        fd = open(device.c_str(), O_RDWR | O_NOCTTY | O_CLOEXEC);
        ASSERT_GE(fd, 0) << device;
        ASSERT_EQ(ioctl(fd, TIOCEXCL), 0);
    } else {
        link = std::make_unique<QtSerialLink>([device](int) { return device; });
        link->Configure(1, "9600,N,8,1", 0);
        link->Open();
    }
    std::cout << "holding" << std::endl;
    std::string until_input_closes;
    std::getline(std::cin, until_input_closes);
    if (fd >= 0) close(fd);
}

TEST(Child, SwitchingOnFails) { ExpectSwitchingOnFails(ChildSetting(kDevice), ChildSetting(kAdvice)); }

void ExpectChildSucceeds(Child& child) {
    EXPECT_EQ(child.Finish(30s), 0) << child.Output();
    EXPECT_TRUE(child.CasePassed()) << child.Output();
}

// Waits until a child that holds the port says so.
void ExpectHolding(Child& holder) { ASSERT_TRUE(holder.WaitForOutput("holding\n", 20s)) << holder.Output(); }

TEST(OpenFailsElsewhere, DeviceHeldByAnotherVelmo) {
    PtyReceiver receiver(ReceiverAnswers());
    Child holder({"Child.HoldsThePort", {{kDevice, receiver.Path()}, {kHold, "qt"}}});
    ExpectHolding(holder);

    ExpectSwitchingOnFails(receiver.Path(), kInUseAdvice);

    EXPECT_EQ(holder.Finish(20s), 0) << holder.Output();
    EXPECT_EQ(receiver.Bytes(), "") << "nothing was written";
}

// A device the user may not open. Root opens any device whatever its mode,
// so as root the window runs as nobody.
TEST(OpenFailsElsewhere, PermissionDenied) {
    PtyReceiver receiver(ReceiverAnswers());
    ASSERT_EQ(chmod(receiver.Path().c_str(), 0), 0);
    Child panel({"Child.SwitchingOnFails", {{kDevice, receiver.Path()}, {kAdvice, kDialoutAdvice}}, IsRoot()});
    ExpectChildSucceeds(panel);
    EXPECT_EQ(receiver.Bytes(), "") << "nothing was written";
}

// The exclusive-open mode binds everyone but root, so as root the window
// runs as nobody, on a device that nobody may otherwise open.
TEST(OpenFailsElsewhere, DeviceHeldExclusivelyByAnotherProgram) {
    PtyReceiver receiver(ReceiverAnswers());
    if (IsRoot()) {
        ASSERT_EQ(chown(receiver.Path().c_str(), 65534, 65534), 0);
    }
    ASSERT_EQ(chmod(receiver.Path().c_str(), 0600), 0);
    Child holder({"Child.HoldsThePort", {{kDevice, receiver.Path()}, {kHold, "exclusive"}}});
    ExpectHolding(holder);

    Child panel({"Child.SwitchingOnFails", {{kDevice, receiver.Path()}, {kAdvice, kInUseAdvice}}, IsRoot()});
    ExpectChildSucceeds(panel);

    EXPECT_EQ(holder.Finish(20s), 0) << holder.Output();
    EXPECT_EQ(receiver.Bytes(), "") << "nothing was written";
}

}  // namespace
}  // namespace velmo::faults
