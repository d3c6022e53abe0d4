// SPDX-FileCopyrightText: 2026 The Velmo developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The three programs as built: each carries its own version record and
// opens its own serial port.

#include <gtest/gtest.h>
#include <QFile>
#include <ostream>
#include <string>

namespace {

struct Program {
    const char* name;
    const char* path;
    const char* record;
    friend void PrintTo(const Program& program, std::ostream* out) { *out << program.name; }
};

class ProgramRecordsTest : public ::testing::TestWithParam<Program> {};

TEST_P(ProgramRecordsTest, CarriesItsVersionRecord) {
    QFile binary(QString::fromLocal8Bit(GetParam().path));
    ASSERT_TRUE(binary.open(QIODevice::ReadOnly)) << GetParam().path;
    const QByteArray contents = binary.readAll();
    const qsizetype at = contents.indexOf("VelmoVersionRecord ");
    ASSERT_GE(at, 0) << "no version record in " << GetParam().path;
    const std::string record(contents.constData() + at);
    EXPECT_EQ(record, GetParam().record);
}

INSTANTIATE_TEST_SUITE_P(Programs, ProgramRecordsTest,
                         ::testing::Values(Program{"Velmo_1", VELMO_1_PATH,
                                                   "VelmoVersionRecord FileVersion=" VELMO_VERSION
                                                   " ProductVersion=" VELMO_VERSION " ProductName=Velmo "
                                                   "InternalName=Velmo_1 OriginalFilename=Velmo_1 Port=1"},
                                           Program{"Velmo_2", VELMO_2_PATH,
                                                   "VelmoVersionRecord FileVersion=" VELMO_VERSION
                                                   " ProductVersion=" VELMO_VERSION " ProductName=Velmo "
                                                   "InternalName=Velmo_2 OriginalFilename=Velmo_2 Port=2"},
                                           Program{"Velmo", VELMO_3_PATH,
                                                   "VelmoVersionRecord FileVersion=" VELMO_VERSION
                                                   " ProductVersion=" VELMO_VERSION " ProductName=Velmo "
                                                   "InternalName=Velmo OriginalFilename=Velmo Port=3"}),
                         [](const ::testing::TestParamInfo<Program>& param_info) {
                             return std::string(param_info.param.name);
                         });

}  // namespace
