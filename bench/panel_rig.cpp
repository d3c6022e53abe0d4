#include "panel_rig.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTest>
#include <QTimer>
#include <memory>

namespace velmo::bench {

PanelRig::PanelRig(const std::string& device)
    : link([device](int) { return device; }),
      window(link, 1, [this](const std::exception& error) { failures.emplace_back(error.what()); }) {
    window.show();
    window.activateWindow();
}

PanelRig::~PanelRig() {
    if (!window.Ending()) user.Click("RadioOff");
}

void PanelRig::Key(int qt_key) {
    auto* target = window.findChild<QWidget*>(QStringLiteral("CodesIn"));
    target->setFocus();
    QTest::keyClick(target, static_cast<Qt::Key>(qt_key));
}

bool PanelRig::SwitchOn() {
    user.Click("RadioOn");
    return RunUntil([this] { return user.SignalBar().size() > 1 || window.Ending(); }, std::chrono::seconds(10), 20) &&
           !window.Ending();
}

bool RunUntil(const std::function<bool()>& done, std::chrono::milliseconds limit, int every_ms) {
    if (done()) return true;
    QEventLoop loop;
    QElapsedTimer elapsed;
    elapsed.start();
    bool met = false;
    QTimer check;
    check.setTimerType(Qt::PreciseTimer);
    QObject::connect(&check, &QTimer::timeout, [&] {
        if (!met) met = done();
        if (met || elapsed.elapsed() > limit.count()) loop.quit();
    });
    check.start(every_ms);
    loop.exec();
    return met;
}

void RunFor(std::chrono::milliseconds duration) {
    QEventLoop loop;
    QTimer::singleShot(duration, Qt::PreciseTimer, &loop, &QEventLoop::quit);
    loop.exec();
}

}  // namespace velmo::bench
