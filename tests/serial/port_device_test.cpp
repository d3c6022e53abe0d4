// SPDX-FileCopyrightText: 2026 The Velmo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <set>
#include <string>

#include "port_device.h"

namespace velmo {
namespace {

struct MappingCase {
    int port;
    HostSystem system;
    std::set<std::string> present;
    std::string expected;
};

void PrintTo(const MappingCase& c, std::ostream* out) {
    *out << "port " << c.port << (c.system == HostSystem::Windows ? " on Windows" : " on Linux") << ", "
         << c.present.size() << " aliases present";
}

class SerialDevicePathTable : public ::testing::TestWithParam<MappingCase> {};

TEST_P(SerialDevicePathTable, MapsPortToDevice) {
    const MappingCase& c = GetParam();
    const auto exists = [&](const std::string& path) { return c.present.count(path) > 0; };
    EXPECT_EQ(SerialDevicePath(c.port, c.system, exists), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Ports, SerialDevicePathTable,
    ::testing::Values(
        MappingCase{1, HostSystem::Windows, {}, "COM1"}, MappingCase{3, HostSystem::Windows, {"/dev/velmo3"}, "COM3"},
        MappingCase{12, HostSystem::Windows, {}, "COM12"}, MappingCase{1, HostSystem::Linux, {}, "/dev/ttyS0"},
        MappingCase{3, HostSystem::Linux, {}, "/dev/ttyS2"}, MappingCase{11, HostSystem::Linux, {}, "/dev/ttyS10"},
        MappingCase{3, HostSystem::Linux, {"/dev/velmo3"}, "/dev/velmo3"},
        // Another port's alias does not count.
        MappingCase{2, HostSystem::Linux, {"/dev/velmo3", "/dev/velmo1"}, "/dev/ttyS1"},
        MappingCase{0, HostSystem::Linux, {}, ""}, MappingCase{-1, HostSystem::Windows, {}, ""}));

TEST(PathPresent, CountsFilesAndLinksEvenDanglingOnes) {
    const auto dir = std::filesystem::temp_directory_path() / ("velmo-path-present-" + std::to_string(getpid()));
    std::filesystem::create_directories(dir);
    std::ofstream(dir / "device").put('x');
    std::filesystem::create_symlink(dir / "device", dir / "alias");
    std::filesystem::create_symlink(dir / "gone", dir / "dangling");

    EXPECT_TRUE(PathPresent((dir / "device").string()));
    EXPECT_TRUE(PathPresent((dir / "alias").string()));
    EXPECT_TRUE(PathPresent((dir / "dangling").string()));
    EXPECT_FALSE(PathPresent((dir / "gone").string()));
    std::filesystem::remove_all(dir);
}

TEST(SerialDevicePathOnThisComputer, UsesTheDefaultDeviceWhenNoAliasExists) {
    if (PathPresent("/dev/velmo42")) GTEST_SKIP() << "/dev/velmo42 exists on this machine";
    EXPECT_EQ(SerialDevicePath(42), "/dev/ttyS41");
}

}  // namespace
}  // namespace velmo
