// SPDX-FileCopyrightText: 2026 The Velmo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QApplication>
#include <string>

#include "code_list_box.h"
#include "front_panel.h"
#include "panel_on_port.h"

namespace velmo::bench {

// Each code list keeps its newest 5,000 entries.
inline constexpr int kListFull = FrontPanel::kMaxListEntries;

// The child process of the scanner benchmarks: an application holding
// nothing but the window on `device`, and its two code lists.
class ScanChild {
public:
    explicit ScanChild(const std::string& device);

    // Switches the receiver on; false (and says so) if it did not come on.
    bool SwitchOn();

    testing::PanelOnPort& Rig() { return rig_; }
    CodeListBox& Sent() { return *sent_; }
    CodeListBox& Received() { return *received_; }

private:
    int argc_ = 1;
    char name_[12] = "velmo-bench";
    char* argv_[2] = {name_, nullptr};
    QApplication app_{argc_, argv_};
    testing::PanelOnPort rig_;
    CodeListBox* sent_;
    CodeListBox* received_;
};

}  // namespace velmo::bench
