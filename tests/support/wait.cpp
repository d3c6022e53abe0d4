// SPDX-FileCopyrightText: 2026 The Velmo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "wait.h"

#include <QAbstractEventDispatcher>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <thread>

namespace velmo::testing {

bool WaitUntil(const std::function<bool()>& condition, std::chrono::milliseconds limit, Events events) {
    QElapsedTimer elapsed;
    elapsed.start();
    // A wake-up tick, so the wait ends on time even when nothing else happens.
    // Its own wake-up of the dispatcher too: Windows' hands a precise tick
    // over before it waits and then waits on regardless.
    QTimer wake;
    QObject::connect(&wake, &QTimer::timeout, [] {
        if (auto* dispatcher = QAbstractEventDispatcher::instance()) dispatcher->wakeUp();
    });
    if (events == Events::Run) wake.start(10);
    while (!condition()) {
        if (elapsed.elapsed() > limit.count()) return false;
        if (events == Events::Run) {
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
        } else {
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
    }
    return true;
}

bool WaitWhileProgressing(const std::function<bool()>& condition, const std::function<long long()>& progress,
                          std::chrono::milliseconds stall) {
    long long last = progress();
    for (;;) {
        const bool moved = WaitUntil([&] { return condition() || progress() != last; }, stall);
        if (condition()) return true;
        if (!moved) return false;
        last = progress();
    }
}

void LetRun(std::chrono::milliseconds span) {
    QEventLoop loop;
    QTimer::singleShot(span, Qt::PreciseTimer, &loop, &QEventLoop::quit);
    loop.exec();
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

}  // namespace velmo::testing
