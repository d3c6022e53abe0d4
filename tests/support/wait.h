// SPDX-FileCopyrightText: 2026 The Velmo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QTimer>
#include <chrono>
#include <functional>
#include <memory>

namespace velmo::testing {

using namespace std::chrono_literals;

// Whether Qt events run while waiting. Held, nothing of the program runs
// meanwhile, so a test can tell what happened without the event loop.
enum class Events { Run, Held };

// Waits until `condition` holds or `limit` passes; true if it held. The
// thread sleeps between events rather than spinning, and looks at least
// every 10 ms, for conditions that another thread makes true.
//
// The condition is looked at between events. An event that runs a pause of
// the panel (a 6-second scanner hold) runs it whole before the condition
// is looked at again; WhenThen looks from inside such pauses too.
bool WaitUntil(const std::function<bool()>& condition, std::chrono::milliseconds limit = 10s,
               Events events = Events::Run);

// Waits until `condition` holds, for as long as `progress` keeps changing:
// false only once it has stood still for `stall`. For work whose speed is
// the machine's (a sanitizer build, a loaded CI runner), where a deadline
// for the whole would fail a slow machine rather than a stuck program.
bool WaitWhileProgressing(const std::function<bool()>& condition, const std::function<long long()>& progress,
                          std::chrono::milliseconds stall);

// Lets events run for `span`, with nothing of its own ticking meanwhile.
void LetRun(std::chrono::milliseconds span);

// Runs `action` from the event loop once `condition` holds, looking every
// 10 ms. Being a timer, it keeps looking inside the panel's pauses, where a
// test's own code never runs.
class WhenThen {
public:
    WhenThen(std::function<bool()> condition, std::function<void()> action);
    bool Done() const { return *done_; }

private:
    std::shared_ptr<bool> done_ = std::make_shared<bool>(false);
    std::unique_ptr<QTimer> timer_;
};

}  // namespace velmo::testing
