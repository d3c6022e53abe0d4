// SPDX-FileCopyrightText: 2026 The Velmo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "scan_child.h"

#include <cstdio>

#include "figure.h"

namespace velmo::bench {
namespace {

// The figures are printed with a decimal point, whatever locale the
// application took from the environment; set before the window exists.
const std::string& WithDecimalPoint(const std::string& device) {
    UseDecimalPoint();
    return device;
}

}  // namespace

ScanChild::ScanChild(const std::string& device)
    : rig_(WithDecimalPoint(device)),
      sent_(rig_.Find<CodeListBox>("CodesOut")),
      received_(rig_.Find<CodeListBox>("CodesIn")) {}

bool ScanChild::SwitchOn() {
    if (rig_.SwitchOn()) return true;
    std::fprintf(stderr, "velmo-bench: the receiver did not come on\n");
    return false;
}

}  // namespace velmo::bench
