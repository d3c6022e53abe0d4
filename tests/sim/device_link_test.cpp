// SPDX-FileCopyrightText: 2026 The Velmo developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The simulator's --link: what it replaces, what it refuses, and what it
// leaves behind. Runs as any user in a folder of its own.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <array>
#include <filesystem>
#include <fstream>
#include <memory>
#include <optional>
#include <sstream>
#include <string>

#include "sim/device_link.h"
#include "sim/raw_pty.h"
#include "temp_folder.h"

namespace velmo::sim {
namespace {

namespace fs = std::filesystem;
using testing::TempFolder;

// What stands at `path`: a link's target, "file", or nothing.
std::optional<std::string> At(const std::string& path) {
    struct stat st {};
    if (lstat(path.c_str(), &st) != 0) return std::nullopt;
    if (!S_ISLNK(st.st_mode)) return "file";
    std::array<char, 4096> buf{};
    const ssize_t n = readlink(path.c_str(), buf.data(), buf.size() - 1);
    return n < 0 ? std::string("?") : std::string(buf.data(), static_cast<std::size_t>(n));
}

class DeviceLinkTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_FALSE(folder_.empty()); }

    // Only the link itself is left in the folder: no temporary names.
    void ExpectNothingElseInTheFolder() {
        for (const auto& entry : fs::directory_iterator(folder_)) {
            EXPECT_EQ(entry.path().filename(), "velmo1") << "left behind: " << entry.path();
        }
    }

    TempFolder temp_;
    const std::string folder_ = temp_.Path();
    const std::string path_ = temp_ / "velmo1";
    std::ostringstream notes_;
    const std::string ours_ = "/dev/pts/77";
};

TEST_F(DeviceLinkTest, MakesTheLinkAndRemovesItAtTheEnd) {
    {
        DeviceLink link(path_, ours_, false, notes_);
        EXPECT_EQ(At(path_), ours_);
        ExpectNothingElseInTheFolder();
    }
    EXPECT_EQ(At(path_), std::nullopt);
    EXPECT_EQ(notes_.str(), "");
}

TEST_F(DeviceLinkTest, WorksWithANameInTheCurrentFolder) {
    const auto before = fs::current_path();
    fs::current_path(folder_);
    {
        DeviceLink link("velmo1", ours_, false, notes_);
        EXPECT_EQ(At(path_), ours_);
    }
    EXPECT_EQ(At(path_), std::nullopt);
    fs::current_path(before);
}

// Whatever stands at the path and is not a simulator's leftover is kept,
// exactly as it was.
TEST_F(DeviceLinkTest, RefusesWhatItDidNotMake) {
    struct Case {
        const char* what;
        std::string target;  // empty: a regular file
        bool force;
    };
    const Case cases[] = {
        {"the real adapter's udev link", "ttyUSB0", false},
        {"a link to a file", "/etc/hostname", false},
        {"a dangling link elsewhere", "/nonexistent/velmo", false},
        {"a link into /dev/pts that is not a terminal number", "/dev/pts/ptmx", false},
        {"a regular file", "", false},
        {"a regular file, even forced", "", true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        if (c.target.empty()) {
            std::ofstream(path_) << "keep me";
        } else {
            ASSERT_EQ(symlink(c.target.c_str(), path_.c_str()), 0);
        }
        const std::string before = *At(path_);
        EXPECT_THROW(DeviceLink(path_, ours_, c.force, notes_), DeviceLink::Refused);
        EXPECT_EQ(At(path_), before);
        ExpectNothingElseInTheFolder();
        ASSERT_EQ(unlink(path_.c_str()), 0);
    }
}

TEST_F(DeviceLinkTest, TheRefusalSaysWhatIsThereAndHowToOverride) {
    ASSERT_EQ(symlink("ttyUSB0", path_.c_str()), 0);
    try {
        DeviceLink link(path_, ours_, false, notes_);
        FAIL() << "replaced a link it did not make";
    } catch (const DeviceLink::Refused& e) {
        const std::string message = e.what();
        EXPECT_NE(message.find(path_), std::string::npos) << message;
        EXPECT_NE(message.find("ttyUSB0"), std::string::npos) << message;
        EXPECT_NE(message.find("--force"), std::string::npos) << message;
    }
}

// A link left by a simulator that was killed, dangling or pointing at a
// terminal that someone else has since been given, is taken over.
TEST_F(DeviceLinkTest, TakesOverALeftoverLinkAndRemovesIt) {
    const RawPty someone_elses = OpenRawPty();
    for (const std::string& stale : {std::string("/dev/pts/999999"), someone_elses.slave_path}) {
        SCOPED_TRACE(stale);
        ASSERT_EQ(symlink(stale.c_str(), path_.c_str()), 0);
        {
            DeviceLink link(path_, ours_, false, notes_);
            EXPECT_EQ(At(path_), ours_);
            ExpectNothingElseInTheFolder();
        }
        EXPECT_EQ(At(path_), std::nullopt);
        EXPECT_NE(notes_.str().find(stale), std::string::npos) << notes_.str();
    }
    close(someone_elses.master);
    close(someone_elses.slave);
}

TEST_F(DeviceLinkTest, ForceReplacesAForeignLinkAndPutsItBack) {
    ASSERT_EQ(symlink("ttyUSB0", path_.c_str()), 0);
    {
        DeviceLink link(path_, ours_, true, notes_);
        EXPECT_EQ(At(path_), ours_);
        EXPECT_NE(notes_.str().find("warning"), std::string::npos) << notes_.str();
    }
    EXPECT_EQ(At(path_), "ttyUSB0");
    ExpectNothingElseInTheFolder();
}

TEST_F(DeviceLinkTest, ANameChangedSinceIsLeftAlone) {
    for (const bool force : {false, true}) {
        SCOPED_TRACE(force ? "forced" : "made fresh");
        if (force) {
            ASSERT_EQ(symlink("ttyUSB0", path_.c_str()), 0);
        }
        {
            DeviceLink link(path_, ours_, force, notes_);
            // Someone points the name elsewhere while the simulator runs.
            ASSERT_EQ(unlink(path_.c_str()), 0);
            ASSERT_EQ(symlink("ttyUSB1", path_.c_str()), 0);
        }
        EXPECT_EQ(At(path_), "ttyUSB1");
        ASSERT_EQ(unlink(path_.c_str()), 0);
    }
}

TEST_F(DeviceLinkTest, ASecondSimulatorCannotTakeALiveLink) {
    auto first = std::make_unique<DeviceLink>(path_, ours_, false, notes_);
    EXPECT_THROW(DeviceLink(path_, "/dev/pts/78", false, notes_), DeviceLink::Refused);
    EXPECT_THROW(DeviceLink(path_, "/dev/pts/78", true, notes_), DeviceLink::Refused);
    // The same name reached by another spelling is the same name.
    EXPECT_THROW(DeviceLink(folder_ + "/./velmo1", "/dev/pts/78", false, notes_), DeviceLink::Refused);
    EXPECT_EQ(At(path_), ours_);
    first.reset();
    EXPECT_EQ(At(path_), std::nullopt);
    // Once the first has gone, the name is free again.
    DeviceLink second(path_, "/dev/pts/78", false, notes_);
    EXPECT_EQ(At(path_), "/dev/pts/78");
}

TEST_F(DeviceLinkTest, APathWithoutANameOrFolderIsRefused) {
    EXPECT_THROW(DeviceLink(folder_ + "/", ours_, false, notes_), DeviceLink::Refused);
    EXPECT_THROW(DeviceLink(folder_ + "/..", ours_, false, notes_), DeviceLink::Refused);
    EXPECT_THROW(DeviceLink(folder_ + "/missing/velmo1", ours_, false, notes_), DeviceLink::Refused);
}

TEST(SimulatorTarget, OnlyTerminalNumbersUnderDevPts) {
    EXPECT_TRUE(IsSimulatorTarget("/dev/pts/0"));
    EXPECT_TRUE(IsSimulatorTarget("/dev/pts/123"));
    for (const char* other : {"/dev/pts/", "/dev/pts/ptmx", "/dev/pts/1/x", "/dev/pts/../tty", "/dev/ttyUSB0",
                              "ttyUSB0", "../pts/1", "/dev/pts1", "dev/pts/1", ""}) {
        EXPECT_FALSE(IsSimulatorTarget(other)) << other;
    }
}

}  // namespace
}  // namespace velmo::sim
