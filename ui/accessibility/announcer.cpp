// SPDX-FileCopyrightText: 2026 The Velmo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "announcer.h"

#include <QAccessible>
#include <QAccessibleObject>
#include <QTimer>
#include <QWidget>

namespace velmo::accessibility {
namespace {

#if QT_VERSION < QT_VERSION_CHECK(6, 8, 0)
// A message shown to assistive technology only: a notification of the window.
class News final : public QAccessibleObject {
public:
    News(QObject* carrier, QWidget& window, QString message)
        : QAccessibleObject(carrier), window_(window), message_(std::move(message)) {}

    QAccessibleInterface* parent() const override { return QAccessible::queryAccessibleInterface(&window_); }
    QAccessibleInterface* child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface*) const override { return -1; }
    QAccessible::Role role() const override { return QAccessible::Notification; }
    QAccessible::State state() const override { return {}; }
    QString text(QAccessible::Text t) const override { return t == QAccessible::Name ? message_ : QString(); }
    QRect rect() const override { return {}; }

private:
    QWidget& window_;
    QString message_;
};
#endif

}  // namespace

Announcer::Announcer(QWidget& window) : window_(window) {}

void Announcer::Say(const QString& message) {
    // Start-up sets every display before the window is shown: nothing to tell.
    if (!QAccessible::isActive() || message.isEmpty() || !window_.isVisible()) return;
    pending_.append(message);
    if (flush_scheduled_) return;
    flush_scheduled_ = true;
    QTimer::singleShot(0, this, [this] {
        flush_scheduled_ = false;
        Flush();
    });
}

void Announcer::Flush() {
    const QString message = pending_.join(QStringLiteral(". "));
    pending_.clear();
    if (message.isEmpty() || !QAccessible::isActive()) return;
#if QT_VERSION >= QT_VERSION_CHECK(6, 8, 0)
    QAccessibleAnnouncementEvent event(&window_, message);
    QAccessible::updateAccessibility(&event);
#else
    delete news_;
    news_ = new QObject(this);
    QAccessible::registerAccessibleInterface(new News(news_, window_, message));
    QAccessibleEvent shown(news_, QAccessible::ObjectShow);
    QAccessible::updateAccessibility(&shown);
#endif
}

}  // namespace velmo::accessibility
