// SPDX-FileCopyrightText: 2026 The Velmo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "window_driver.h"

#include <QAbstractButton>
#include <QApplication>
#include <QInputDialog>
#include <QKeyEvent>
#include <QLabel>
#include <QTimer>

#include "code_list_box.h"

namespace velmo {
namespace {

std::vector<std::string> Entries(const CodeListBox* list) {
    std::vector<std::string> entries;
    for (int i = 0; i < list->Count(); ++i) entries.push_back(list->Entry(i).toStdString());
    return entries;
}

}  // namespace

void AnswerInputBoxes(std::function<bool(QInputDialog& box)> answer, QObject* scope) {
    // The box is modal: it is answered from the event loop once it is up.
    auto* poll = new QTimer(scope);
    QObject::connect(poll, &QTimer::timeout, poll, [poll, answer = std::move(answer)] {
        auto* box = qobject_cast<QInputDialog*>(QApplication::activeModalWidget());
        // A box stays the active one until its own loop has seen it closed.
        if (box == nullptr || box->property("velmo_answered").toBool()) return;
        box->setProperty("velmo_answered", true);
        if (!answer(*box)) {
            poll->stop();
            poll->deleteLater();
        }
    });
    poll->start(10);
}

void AnswerInputBox(const QString& text, bool accept) {
    AnswerInputBoxes([text, accept](QInputDialog& box) {
        box.setTextValue(text);
        accept ? box.accept() : box.reject();
        return false;
    });
}

void WindowDriver::Click(const char* button) const {
    window_.findChild<QAbstractButton*>(QString::fromLatin1(button))->click();
}

void WindowDriver::Key(int qt_key, const char* focused) const {
    QWidget* target = window_.findChild<QWidget*>(QString::fromLatin1(focused));
    target->setFocus();
    QKeyEvent press(QEvent::KeyPress, qt_key, Qt::NoModifier);
    QKeyEvent release(QEvent::KeyRelease, qt_key, Qt::NoModifier);
    QApplication::sendEvent(target, &press);
    QApplication::sendEvent(target, &release);
}

void WindowDriver::EnterFrequency(const QString& text) const {
    AnswerInputBox(text);
    Key(Qt::Key_Control);
}

std::string WindowDriver::Display() const {
    return window_.findChild<QLabel*>(QStringLiteral("DisplayFrequency"))->text().toStdString();
}

std::string WindowDriver::SignalBar() const {
    return window_.findChild<QLabel*>(QStringLiteral("SignalStrength"))->text().toStdString();
}

std::vector<std::string> WindowDriver::CodesOut() const {
    return Entries(window_.findChild<CodeListBox*>(QStringLiteral("CodesOut")));
}

std::vector<std::string> WindowDriver::CodesIn() const {
    return Entries(window_.findChild<CodeListBox*>(QStringLiteral("CodesIn")));
}

QColor WindowDriver::Background(const char* label) const {
    return window_.findChild<QLabel*>(QString::fromLatin1(label))->palette().color(QPalette::Window);
}

}  // namespace velmo
