// SPDX-FileCopyrightText: 2026 The Velmo developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Memory after the reply list has taken 200,000 entries (about 28 hours of
// signal polling), fed through the panel's ShowReplies as fast as it takes
// them. Runs in a child process of its own, so the peak is this scenario's.

#include <QApplication>
#include <cstdio>
#include <string>
#include <vector>

#include "benches.h"
#include "child_process.h"
#include "code_list_box.h"
#include "panel_on_port.h"
#include "process_measures.h"
#include "pty_receiver.h"
#include "wait.h"

namespace velmo::bench {

using namespace velmo::testing;

int MemoryChild() {
    int argc = 1;
    char name[] = "velmo-bench";
    char* argv[] = {name, nullptr};
    QApplication app(argc, argv);
    UseDecimalPoint();
    PtyReceiver receiver(sim::ReceiverOptions{});
    PanelOnPort rig(receiver.Path());
    FrontPanel& panel = rig.window.Panel();
    LetRun(std::chrono::milliseconds(500));
    const std::int64_t start_kib = ResidentKib();

    // One signal reading and one command's answer, as a poll and a command
    // exchange read them.
    const std::string reply = "G000\r\nI17F\r\n";
    constexpr int kEntries = 200'000;
    constexpr int kCheckpointEvery = 50'000;
    std::vector<std::int64_t> checkpoints_kib;
    const auto started = WallClock::now();
    for (int entries = 2; entries <= kEntries; entries += 2) {
        panel.ShowReplies(reply);
        // Let the list lay itself out and paint now and then, as it would.
        if (entries % 1000 == 0) QCoreApplication::processEvents();
        if (entries % kCheckpointEvery == 0) checkpoints_kib.push_back(ResidentKib());
    }
    const double feed_seconds = SecondsBetween(started, WallClock::now());
    LetRun(std::chrono::milliseconds(300));
    const std::int64_t peak_kib = PeakResidentKib();
    const int listed = rig.window.findChild<CodeListBox*>(QStringLiteral("CodesIn"))->Count();

    Print(Info("memory_rss_at_startup", MegabytesOf(start_kib), "MB"));
    Print(AtMost("memory_peak_above_startup", MegabytesOf(peak_kib - start_kib), "MB", 15, false));
    Print(AtMost("memory_growth_50k_to_200k", MegabytesOf(checkpoints_kib.back() - checkpoints_kib.front()), "MB", 1,
                 false));
    for (std::size_t i = 0; i < checkpoints_kib.size(); ++i) {
        Print(Info("memory_rss_above_startup_at_" + std::to_string((i + 1) * kCheckpointEvery / 1000) + "k",
                   MegabytesOf(checkpoints_kib[i] - start_kib), "MB"));
    }
    Print(Info("memory_entries_listed_at_end", listed, "entries"));
    Print(Info("memory_feed_rate", kEntries / feed_seconds, "entries/s"));
    return 0;
}

void MemoryFigures(const std::string& self) {
    ChildProcess child(self, {"--memory-child"});
    const int status = child.Wait(std::chrono::minutes(10));
    // Its figures, as they come in this program's own table.
    std::fputs(child.Output().c_str(), stdout);
    std::fflush(stdout);
    if (status != 0) std::fprintf(stderr, "velmo-bench: memory run failed (status %d)\n", status);
}

}  // namespace velmo::bench
