#include "ui_test_support.h"

#include <QApplication>
#include <QDeadlineTimer>
#include <QInputDialog>
#include <QTest>
#include <QTimer>

namespace velmo::testing {

bool WaitUntil(const std::function<bool()>& condition, int timeout_ms) {
    QDeadlineTimer deadline(timeout_ms);
    while (!condition()) {
        if (deadline.hasExpired()) return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    }
    return true;
}

int RunUntilProgramEnds(const std::function<void()>& scenario) {
    QTimer give_up;
    give_up.setSingleShot(true);
    QObject::connect(&give_up, &QTimer::timeout, [] { QCoreApplication::exit(-99); });
    give_up.start(10000);
    QTimer::singleShot(0, scenario);
    return QApplication::exec();
}

void ShowWindow(MainWindow& window) {
    window.show();
    window.activateWindow();
    // Access keys need the window active, key presses only need it there.
    (void)QTest::qWaitForWindowActive(&window);
}

void PressKey(MainWindow& window, Qt::Key key, Qt::KeyboardModifiers modifiers) {
    QTest::keyClick(window.windowHandle(), key, modifiers);
}

void AnswerInputBox(const QString& text, bool accept, std::function<void(QInputDialog*)> before) {
    auto* poll = new QTimer;
    QObject::connect(poll, &QTimer::timeout, poll, [=] {
        auto* dialog = qobject_cast<QInputDialog*>(QApplication::activeModalWidget());
        if (!dialog) return;
        poll->stop();
        poll->deleteLater();
        if (before) before(dialog);
        dialog->setTextValue(text);
        accept ? dialog->accept() : dialog->reject();
    });
    poll->start(10);
}

}  // namespace velmo::testing
