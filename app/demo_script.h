// SPDX-FileCopyrightText: 2026 The Velmo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QObject>
#include <QString>
#include <functional>
#include <vector>

#include "main_window.h"
#include "sim/scan_report.h"
#include "sim/simulated_link.h"
#include "window_driver.h"

namespace velmo::demo {

// Drives the real window the way a user would (clicks, keys, the input
// box), one step after another, each when the previous one's wait is over.
class DemoScript : public QObject {
    Q_OBJECT
public:
    DemoScript(MainWindow& window, sim::SimulatedLink& link, const sim::Clock& clock);

    // Switch on, tune, scan until the scanner holds on a station; a
    // screenshot of each stage goes into `directory`.
    void Tour(const QString& directory);
    // One scanner pass from `low_mhz` up to `high_mhz`, then a report of
    // the stations held, held late and passed.
    void Pass(double low_mhz, double high_mhz);

signals:
    void finished(int status);

private:
    using Condition = std::function<bool()>;
    struct Step {
        QString what;
        std::function<void()> act;
        Condition done;  // waited for after the action; empty: go on at once
        int limit_ms = 0;
    };
    void Run(std::vector<Step> steps);
    void Next();

    void Screenshot(const QString& name);
    bool HeldSince(std::size_t from) const;

    MainWindow& window_;
    WindowDriver user_;
    sim::SimulatedLink& link_;
    const sim::Clock& clock_;
    std::vector<sim::ObservedLine> received_;
    std::int64_t tuned_hz_ = 0;  // the last frequency the receiver was tuned to
    std::vector<Step> steps_;
    std::size_t next_ = 0;
    QString directory_;
};

}  // namespace velmo::demo
