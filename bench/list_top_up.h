// SPDX-FileCopyrightText: 2026 The Velmo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "code_list_box.h"
#include "main_window.h"

namespace velmo::bench {

// Lists copies of the entries already there, from row `from` on, until the
// list holds `count`, through the window as the panel lists an entry, so
// that a benchmark reaches full lists in seconds rather than in minutes of
// scanning.
void TopUp(MainWindow& window, CodeList list, CodeListBox& box, int count, int from = 0);

}  // namespace velmo::bench
