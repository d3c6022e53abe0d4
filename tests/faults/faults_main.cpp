// SPDX-FileCopyrightText: 2026 The Velmo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include <gtest/gtest.h>

#include <QApplication>
#include <cstdlib>
#include <string>

#include "child_cases.h"

int main(int argc, char** argv) {
    if (qgetenv("QT_QPA_PLATFORM").isEmpty()) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    // The child cases are parts of other tests, run in a process of their
    // own; on their own they mean nothing, so only a child runs them.
    if (!velmo::faults::IsChild()) {
        std::string filter = GTEST_FLAG_GET(filter);
        filter += filter.find('-') == std::string::npos ? "-" : ":";
        GTEST_FLAG_SET(filter, filter + "Child.*");
    }
    return RUN_ALL_TESTS();
}
