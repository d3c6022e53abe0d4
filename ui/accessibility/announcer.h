// SPDX-FileCopyrightText: 2026 The Velmo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QObject>
#include <QPointer>
#include <QString>
#include <QStringList>

class QWidget;

namespace velmo::accessibility {

// Has a screen reader speak a short message about the window, whichever of
// its controls has the focus.
//
// Qt 6.8 and later send the message as an announcement event, which AT-SPI
// passes on as object:announcement. Older Qt has no such event, and there the
// message goes out as a notification: an object of the window, seen only by
// assistive technology, that shows itself with the message as its name.
// Orca 43 (Debian 12) speaks every notification that shows, as it does the
// desktop's. It does not speak a change of name or description on Qt 6.4,
// whose change events carry the object instead of the new text.
//
// Messages said during one pass of the event loop are spoken together, once
// the pass is over, so that a second one does not cut off the first.
class Announcer final : public QObject {
public:
    explicit Announcer(QWidget& window);

    void Say(const QString& message);

private:
    void Flush();

    QWidget& window_;
    QStringList pending_;
    bool flush_scheduled_ = false;
    // The notification carrying the last message; each message gets one of
    // its own, so that no screen reader can hear an old one under a new name.
    QPointer<QObject> news_;
};

}  // namespace velmo::accessibility
