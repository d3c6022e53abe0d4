// SPDX-FileCopyrightText: 2026 The Velmo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "step_counter.h"

#include <utility>

#include "code_list_box.h"
#include "protocol.h"

namespace velmo::bench {

StepCounter::StepCounter(CodeListBox& sent, CodeListBox& received, std::function<void()> on_step) {
    QObject::connect(&sent.Entries(), &CodeListModel::EntryAdded, &connections_,
                     [this, on_step = std::move(on_step)](const QString& text) {
                         if (!text.startsWith(QLatin1String(protocol::kTune))) return;
                         ++steps;
                         if (on_step) on_step();
                     });
    const QString signal_entry =
        QString::fromLatin1(protocol::kSignalMarker) + QString::fromLatin1(protocol::kSignalAnswer);
    QObject::connect(&received.Entries(), &CodeListModel::EntryAdded, &connections_,
                     [this, signal_entry](const QString& text) { holds += text.startsWith(signal_entry); });
}

}  // namespace velmo::bench
