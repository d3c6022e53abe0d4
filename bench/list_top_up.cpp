// SPDX-FileCopyrightText: 2026 The Velmo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "list_top_up.h"

namespace velmo::bench {

void TopUp(MainWindow& window, CodeList list, CodeListBox& box, int count, int from) {
    const int had = box.Count() - from;
    if (had <= 0) return;
    for (int row = 0; box.Count() < count; ++row) {
        window.AppendListEntry(list, box.Entry(from + row % had).toStdString());
        window.SetListTopIndex(list, box.Count() - 1);
    }
}

}  // namespace velmo::bench
