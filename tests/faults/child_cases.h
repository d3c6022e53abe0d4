// SPDX-FileCopyrightText: 2026 The Velmo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <map>
#include <string>

#include "child_process.h"

namespace velmo::faults {

// Some fault cases need a process of their own: this test program again,
// running one "Child.*" case with settings in its environment. The child
// cases mean nothing on their own, so only a child runs them.

// True in a process started as a Child.
bool IsChild();
// A setting handed to the child.
std::string ChildSetting(const char* name);

struct ChildRun {
    std::string child_case;  // "Child.Something"
    std::map<std::string, std::string> settings;
    // Runs as nobody (user and group 65534, no supplementary groups), for
    // what binds everyone but root; only root can start it so.
    bool as_nobody = false;
};

class Child : public testing::ChildProcess {
public:
    explicit Child(const ChildRun& run);
    // Whether gtest in the child ran the one case and it passed.
    bool CasePassed();
    // The first line of its output that holds `text`, for the test's log.
    std::string LineWith(const std::string& text);
};

bool IsRoot();

}  // namespace velmo::faults
