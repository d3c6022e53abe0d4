// SPDX-FileCopyrightText: 2026 The Velmo developers
// SPDX-License-Identifier: GPL-3.0-or-later

// A key held down while the receiver trickles bytes and never ends a line:
// every exchange waits its longest, so each press runs inside the pause of
// the one before and the presses nest thousands deep. The program gives
// its stack room for that (MakeRoomForNestedEvents, as main() does).
#include <gtest/gtest.h>

#include <QTest>
#include <QTimer>
#include <cstdint>
#include <cstdlib>
#include <iostream>
#include <string>

#include "child_cases.h"
#include "main_window.h"
#include "process_measures.h"
#include "serial_link.h"
#include "stack_room.h"
#include "window_driver.h"

namespace velmo::faults {
namespace {

using namespace std::chrono_literals;

constexpr int kPresses = 6000;

// A receiver that has sent one more byte whenever it is read, and never a
// line end. When the tuning command of the last press goes out, every
// press is running, one inside the other: the process reports and ends
// there, as unwinding them all would take 6,000 times 0.1 s.
class TricklingLink final : public SerialLink {
public:
    void Configure(int, const std::string&, int) override {}
    void Open() override { open_ = true; }
    void Close() override { open_ = false; }
    bool IsOpen() const override { return open_; }
    void Write(const std::string& text) override {
        if (!text.starts_with("K0")) return;
        // The frame itself: the sanitizers keep locals on a stack of their own.
        const auto at = reinterpret_cast<std::uintptr_t>(__builtin_frame_address(0));
        if (tunings_++ == 0) first_ = at;
        if (tunings_ == kPresses) {
            std::cout << kPresses << " presses nested, " << (first_ - at) / 1024
                      << " KiB of stack, peak resident memory " << testing::PeakResidentKib() << " KiB" << std::endl;
            std::_Exit(0);
        }
    }
    std::string ReadAll() override { return "x"; }

private:
    bool open_ = false;
    int tunings_ = 0;
    std::uintptr_t first_ = 0;
};

TEST(Child, NestsSixThousandPresses) {
    std::cout << "stack allowed " << MakeRoomForNestedEvents() / 1024 << " KiB" << std::endl;
    TricklingLink link;
    MainWindow window(link, 1, [](const std::exception& error) { ADD_FAILURE() << error.what(); });
    window.show();
    WindowDriver(window).Click("RadioOn");
    // Each press from a timer of its own, as the window system delivers
    // them: a timer never runs inside its own tick, another one does.
    for (int i = 0; i < kPresses; ++i) {
        QTimer::singleShot(2 * (i + 1), Qt::PreciseTimer, &window, [&window, i] {
            QTest::simulateEvent(window.windowHandle(), true, Qt::Key_PageUp, Qt::NoModifier, QString(), i > 0);
        });
    }
    QTest::qWait(150'000);
    ADD_FAILURE() << "the presses were not all taken in time";
}

TEST(NestedPresses, SixThousandHeldPageUpPressesWhileTheReceiverTrickles) {
    Child child({"Child.NestsSixThousandPresses", {}});
    EXPECT_EQ(child.Finish(180s), 0) << child.Output();
    EXPECT_NE(child.Output().find("6000 presses nested"), std::string::npos) << child.Output();
    std::cout << child.LineWith("presses nested") << std::endl;
}

}  // namespace
}  // namespace velmo::faults
