#include "panel_on_pty.h"

#include <sys/resource.h>
#include <unistd.h>

#include <QCoreApplication>
#include <fstream>
#include <string>

#include "failure_message.h"

namespace velmo::faults {

bool IdleUntil(const std::function<bool()>& condition, std::chrono::milliseconds limit) {
    // A wake-up tick, so the wait ends on time even when nothing else happens.
    QTimer wake;
    wake.start(20);
    QElapsedTimer elapsed;
    elapsed.start();
    while (!condition()) {
        if (elapsed.elapsed() > limit.count()) return false;
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    }
    return true;
}

void LetRun(std::chrono::milliseconds span) {
    IdleUntil([] { return false; }, span);
}

std::chrono::microseconds CpuUsed() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    const auto micros = [](const timeval& t) {
        return std::chrono::seconds(t.tv_sec) + std::chrono::microseconds(t.tv_usec);
    };
    return micros(usage.ru_utime) + micros(usage.ru_stime);
}

long ResidentBytes() {
    std::ifstream statm("/proc/self/statm");
    long size = 0, resident = 0;
    statm >> size >> resident;
    return resident * sysconf(_SC_PAGESIZE);
}

long PeakResidentBytes() {
    std::ifstream status("/proc/self/status");
    std::string field;
    while (status >> field) {
        if (field == "VmHWM:") {
            long kib = 0;
            status >> kib;
            return kib * 1024;
        }
        status.ignore(1 << 16, '\n');
    }
    return -1;
}

WhenThen::WhenThen(std::function<bool()> condition, std::function<void()> action) : timer_(std::make_unique<QTimer>()) {
    QObject::connect(
        timer_.get(), &QTimer::timeout,
        [done = done_, timer = timer_.get(), condition = std::move(condition), action = std::move(action)] {
            if (*done || !condition()) return;
            *done = true;
            timer->stop();
            action();
        });
    timer_->start(10);
}

PanelOnDevice::PanelOnDevice(std::string device)
    : link([device = std::move(device)](int) { return device; }), window(link, 1, [this](const std::exception& error) {
          if (reported_at < 0) reported_at = clock.elapsed();
          const auto* serial_error = dynamic_cast<const SerialError*>(&error);
          messages.push_back(serial_error ? DescribeFailure(link, *serial_error) : error.what());
      }) {
    clock.start();
    window.show();
}

PanelOnDevice::~PanelOnDevice() {
    // Leave the port closed, as switching off does.
    if (!window.Ending()) user.Click("RadioOff");
}

}  // namespace velmo::faults
