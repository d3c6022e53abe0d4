#pragma once

#include <QAbstractButton>
#include <QElapsedTimer>
#include <QLabel>
#include <QListWidget>
#include <QTimer>
#include <chrono>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "main_window.h"
#include "qt_serial_link.h"
#include "ui_test_support.h"
#include "window_driver.h"

namespace velmo::faults {

using namespace std::chrono_literals;

// Lets events run until the condition holds or the time is up (10 s unless
// told otherwise).
using testing::WaitUntil;

// Lets events run until the condition holds or the time is up, without
// spinning: the thread sleeps between events, so what the process spends
// meanwhile is the program's own doing.
bool IdleUntil(const std::function<bool()>& condition, std::chrono::milliseconds limit = 10s);

// Lets events run for `span`, for things meant to happen meanwhile.
void LetRun(std::chrono::milliseconds span);

// CPU time (user and system, all threads) this process has used so far.
std::chrono::microseconds CpuUsed();

// Resident memory of this process, in bytes.
long ResidentBytes();
// The most resident memory this process has had so far, in bytes.
long PeakResidentBytes();

// Runs `action` from the event loop once `condition` holds, checking every
// 10 ms. Being a timer, it keeps checking inside the panel's pauses, where
// a test's own code never runs (a 6-second hold runs inside the test's event
// processing).
class WhenThen {
public:
    WhenThen(std::function<bool()> condition, std::function<void()> action);
    bool Done() const { return *done_; }

private:
    std::shared_ptr<bool> done_ = std::make_shared<bool>(false);
    std::unique_ptr<QTimer> timer_;
};

// The real window on the real serial port, opened on `device`. Failures are
// reported as the program reports them: DescribeFailure's text.
class PanelOnDevice {
public:
    explicit PanelOnDevice(std::string device);
    ~PanelOnDevice();

    QtSerialLink link;
    std::vector<std::string> messages;
    // Milliseconds on `clock` at which the first message came.
    qint64 reported_at = -1;
    QElapsedTimer clock;
    MainWindow window;
    WindowDriver user{window};

    template <typename T>
    T* Find(const char* name) const {
        return window.findChild<T*>(QString::fromLatin1(name));
    }
};

}  // namespace velmo::faults
