// SPDX-FileCopyrightText: 2026 The Velmo developers
// SPDX-License-Identifier: GPL-3.0-or-later

// A clone in a folder that only root may enter (one under /root, or made by
// mktemp -d): the cases that run the window as nobody still reach their
// program. A copy of this program in such a folder runs them.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "child_cases.h"
#include "temp_folder.h"

namespace velmo::faults {
namespace {

using namespace std::chrono_literals;
namespace fs = std::filesystem;

constexpr const char* kCasesAsNobody =
    "OpenFailsElsewhere.PermissionDenied:OpenFailsElsewhere.DeviceHeldExclusivelyByAnotherProgram";

TEST(RootOnlyFolder, TheCasesThatRunAsNobodyPassFromThere) {
    if (!IsRoot()) GTEST_SKIP() << "only root runs a case as nobody; another user's clone is reachable by its user";
    testing::TempFolder folder;
    ASSERT_FALSE(folder.Path().empty());
    ASSERT_EQ(fs::status(folder.Path()).permissions() & fs::perms::others_all, fs::perms::none)
        << "nobody may not enter " << folder.Path();
    const std::string program = folder / "velmo_fault_tests";
    std::error_code not_linked;
    fs::create_hard_link(testing::SelfPath(), program, not_linked);
    if (not_linked) {
        ASSERT_TRUE(fs::copy_file(testing::SelfPath(), program));
    }

    testing::ChildProcess::Options options;
    options.merge_errors = true;
    options.working_folder = folder.Path();
    testing::ChildProcess run(program, {std::string("--gtest_filter=") + kCasesAsNobody}, options);
    EXPECT_EQ(run.Wait(120s), 0) << run.Output();
    EXPECT_NE(run.Output().find("[  PASSED  ] 2 tests."), std::string::npos) << run.Output();
    EXPECT_EQ(run.Output().find("[  SKIPPED ]"), std::string::npos) << run.Output();
}

}  // namespace
}  // namespace velmo::faults
