// SPDX-FileCopyrightText: 2026 The Velmo developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Process start to the window's first paint on the offscreen platform. This
// program runs itself again as a child that starts the way Velmo does (the
// application, the serial link, the window, show) and reports when the
// window was first painted; the parent stamps the time just before it
// spawns the child, so loading and linking the program count too.

#include <QApplication>
#include <QEvent>
#include <QTimer>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "benches.h"
#include "child_process.h"
#include "main_window.h"
#include "process_measures.h"
#include "qt_serial_link.h"

namespace velmo::bench {

using namespace velmo::testing;

namespace {

constexpr const char* kSpawnedAt = "VELMO_BENCH_SPAWNED_NS";

std::int64_t NowNs() {
    return std::chrono::duration_cast<std::chrono::nanoseconds>(WallClock::now().time_since_epoch()).count();
}

// Notes the first paint event of any widget of the window, and the moment
// that whole first paint is over.
class FirstPaint : public QObject {
public:
    explicit FirstPaint(const QWidget& window) : window_(window) {}
    std::int64_t first_event_ns = 0;
    std::int64_t done_ns = 0;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (first_event_ns == 0 && event->type() == QEvent::Paint && watched->isWidgetType() &&
            static_cast<QWidget*>(watched)->window() == &window_) {
            first_event_ns = NowNs();
            // Runs once the paint pass that this event belongs to is over.
            QTimer::singleShot(0, this, [this] {
                done_ns = NowNs();
                QCoreApplication::quit();
            });
        }
        return false;
    }

private:
    const QWidget& window_;
};

}  // namespace

int StartupChild() {
    const char* spawned = std::getenv(kSpawnedAt);
    if (!spawned) return 2;
    const std::int64_t spawned_ns = std::atoll(spawned);
    int argc = 1;
    char name[] = "velmo-bench";
    char* argv[] = {name, nullptr};
    QApplication app(argc, argv);
    UseDecimalPoint();
    QtSerialLink link([](int) { return std::string("/nonexistent/velmo-bench"); });
    MainWindow window(link, 3, [](const std::exception&) {});
    FirstPaint watch(window);
    app.installEventFilter(&watch);
    window.show();
    QTimer::singleShot(std::chrono::seconds(10), &app, &QCoreApplication::quit);
    QApplication::exec();
    if (watch.done_ns == 0) return 1;
    std::printf("%.3f %.3f\n", static_cast<double>(watch.first_event_ns - spawned_ns) / 1e6,
                static_cast<double>(watch.done_ns - spawned_ns) / 1e6);
    return 0;
}

void StartupFigures(const std::string& self) {
    std::vector<double> first_event_ms;
    std::vector<double> painted_ms;
    for (int run = 0; run < 10; ++run) {
        ChildProcess child(self, {"--startup-child"},
                           std::vector<std::string>{std::string(kSpawnedAt) + "=" + std::to_string(NowNs())});
        const int status = child.Wait(std::chrono::seconds(60));
        const std::string output = child.Output();
        double first = 0;
        double done = 0;
        if (status != 0 || std::sscanf(output.c_str(), "%lf %lf", &first, &done) != 2) {
            std::fprintf(stderr, "velmo-bench: start-up run %d failed (status %d)\n", run, status);
            continue;
        }
        first_event_ms.push_back(first);
        painted_ms.push_back(done);
    }
    Print(AtMost("startup_to_first_paint_median", Median(painted_ms), "ms", 200, false));
    Print(Info("startup_to_first_paint_event_median", Median(first_event_ms), "ms"));
    Print(Info("startup_to_first_paint_max", Percentile(painted_ms, 1.0), "ms"));
}

}  // namespace velmo::bench
