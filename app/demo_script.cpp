// SPDX-FileCopyrightText: 2026 The Velmo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "demo_script.h"

#include <QDir>
#include <QElapsedTimer>
#include <QTimer>
#include <cstdio>
#include <memory>

namespace velmo::demo {

DemoScript::DemoScript(MainWindow& window, sim::SimulatedLink& link, const sim::Clock& clock)
    : window_(window), user_(window), link_(link), clock_(clock) {
    link_.Receiver().SetObserver(
        [this](sim::Micros at, sim::SimulatedReceiver::Direction direction, std::string_view text) {
            if (direction != sim::SimulatedReceiver::Direction::ToReceiver) return;
            received_.push_back({at, std::string(text)});
            sim::ParseTuningHz(received_.back().text, tuned_hz_);
        });
}

void DemoScript::Screenshot(const QString& name) {
    const QString path = QDir(directory_).filePath(name);
    if (window_.grab().save(path)) {
        std::printf("%s\n", QDir().absoluteFilePath(path).toLocal8Bit().constData());
    } else {
        std::fprintf(stderr, "velmo-demo: could not save %s\n", path.toLocal8Bit().constData());
    }
    std::fflush(stdout);
}

bool DemoScript::HeldSince(std::size_t from) const {
    for (std::size_t i = from; i < received_.size(); ++i) {
        if (received_[i].text == "I1?") return true;
    }
    return false;
}

void DemoScript::Tour(const QString& directory) {
    directory_ = directory;
    QDir().mkpath(directory);
    auto scan_from = std::make_shared<std::size_t>(0);
    Run({
        {"start", [this] { Screenshot("01-start.png"); }, {}, 0},
        {"switch on", [this] { user_.Click("RadioOn"); }, [this] { return user_.SignalBar().size() > 1; }, 3000},
        {"on", [this] { Screenshot("02-on.png"); }, {}, 0},
        {"tune",
         [this] {
             user_.Click("FrequencyUp");
             user_.Click("FrequencyUp");
             user_.Key(Qt::Key_PageDown);
         },
         {},
         0},
        {"tuned", [this] { Screenshot("03-tuned.png"); }, {}, 0},
        {"scan",
         [this, scan_from] {
             *scan_from = received_.size();
             user_.Click("Scan");
         },
         [this, scan_from] { return HeldSince(*scan_from); }, 30000},
        {"holding",
         [this] {
             Screenshot("04-scan-holding.png");
             std::printf("held on %s MHz\n", user_.Display().c_str());
         },
         {},
         0},
        {"stop scan", [this] { user_.Click("Scan"); }, {}, 0},
    });
}

void DemoScript::Pass(double low_mhz, double high_mhz) {
    auto start = std::make_shared<std::size_t>(0);
    auto high_hz = static_cast<std::int64_t>(high_mhz * 1e6 + 0.5);
    Run({
        {"switch on", [this] { user_.Click("RadioOn"); }, {}, 0},
        {"enter the low end", [this, low_mhz] { user_.EnterFrequency(QString::number(low_mhz, 'f', 6)); }, {}, 0},
        {"scan",
         [this, start] {
             *start = received_.size();
             user_.Click("Scan");
         },
         [this, high_hz] { return tuned_hz_ >= high_hz; }, 4 * 3600 * 1000},
        {"report",
         [this, start, low_mhz, high_mhz, high_hz] {
             user_.Click("Scan");
             // The pass ends with the first tuning at or above the top.
             std::vector<sim::ObservedLine> pass;
             for (std::size_t i = *start; i < received_.size(); ++i) {
                 pass.push_back(received_[i]);
                 std::int64_t hz = 0;
                 if (sim::ParseTuningHz(received_[i].text, hz) && hz >= high_hz) break;
             }
             const sim::SignalModel model(link_.Receiver().Model().Signal());
             const auto report = sim::AnalyseScan(pass, model, sim::ScanSettings{});
             std::printf(
                 "pass %.3f-%.3f MHz in %.1f s: %d stations open, %d held, %d held one step late, "
                 "%d passed; %d steps, %.2f steps/s between holds\n",
                 low_mhz, high_mhz, static_cast<double>((pass.back().at - pass.front().at).count()) / 1e6,
                 report.stations, report.held, report.held_late, report.passed, report.steps, report.steps_per_second);
             for (const auto hz : report.holds_hz) std::printf("held on %.4f MHz\n", static_cast<double>(hz) / 1e6);
             for (const auto& name : report.passed_names) std::printf("passed: %s\n", name.c_str());
             std::fflush(stdout);
         },
         {},
         0},
    });
}

void DemoScript::Run(std::vector<Step> steps) {
    steps_ = std::move(steps);
    next_ = 0;
    QTimer::singleShot(300, this, &DemoScript::Next);
}

void DemoScript::Next() {
    if (window_.Ending()) {
        emit finished(window_.ExitStatus());
        return;
    }
    if (next_ >= steps_.size()) {
        emit finished(0);
        return;
    }
    const Step& step = steps_[next_++];
    std::fprintf(stderr, "velmo-demo: %s\n", step.what.toLocal8Bit().constData());
    step.act();
    if (!step.done) {
        QTimer::singleShot(400, this, &DemoScript::Next);
        return;
    }
    // Poll for the step's condition; the panel's pauses keep the event loop
    // running, so this timer ticks even during a scanner hold.
    auto waited = std::make_shared<QElapsedTimer>();
    waited->start();
    auto poll = new QTimer(this);
    connect(poll, &QTimer::timeout, this,
            [this, poll, waited, done = step.done, limit = step.limit_ms, what = step.what] {
                if (done()) {
                    poll->deleteLater();
                    QTimer::singleShot(1000, this, &DemoScript::Next);
                } else if (waited->elapsed() > limit) {
                    poll->deleteLater();
                    std::fprintf(stderr, "velmo-demo: gave up waiting at \"%s\"\n", what.toLocal8Bit().constData());
                    emit finished(1);
                }
            });
    poll->start(50);
}

}  // namespace velmo::demo
