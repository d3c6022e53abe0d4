// SPDX-FileCopyrightText: 2026 The Velmo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "child_cases.h"

#include <unistd.h>

#include <cstdlib>

namespace velmo::faults {
namespace {

constexpr const char* kChildMark = "VELMO_FAULTS_CHILD";
constexpr uid_t kNobody = 65534;

testing::ChildProcess::Options OptionsFor(const ChildRun& run) {
    testing::ChildProcess::Options options;
    options.environment.push_back(std::string(kChildMark) + "=1");
    for (const auto& [name, value] : run.settings) options.environment.push_back(name + "=" + value);
    options.merge_errors = true;
    if (run.as_nobody) {
        options.as_user = {kNobody, kNobody};
        // Another user cannot use this one's runtime directory; Qt makes one.
        options.unset.emplace_back("XDG_RUNTIME_DIR");
    }
    return options;
}

}  // namespace

bool IsChild() { return std::getenv(kChildMark) != nullptr; }

std::string ChildSetting(const char* name) {
    const char* value = std::getenv(name);
    return value ? value : "";
}

bool IsRoot() { return geteuid() == 0; }

Child::Child(const ChildRun& run)
    : ChildProcess(testing::SelfPath(), {"--gtest_filter=" + run.child_case}, OptionsFor(run)) {}

std::string Child::LineWith(const std::string& text) {
    const std::string out = Output();
    const auto at = out.find(text);
    if (at == std::string::npos) return {};
    const auto start = out.rfind('\n', at);
    const auto begin = start == std::string::npos ? 0 : start + 1;
    return out.substr(begin, out.find('\n', at) - begin);
}

bool Child::CasePassed() {
    const std::string out = Output();
    return out.find("[  PASSED  ] 1 test.") != std::string::npos && out.find("[  SKIPPED ]") == std::string::npos;
}

}  // namespace velmo::faults
