// SPDX-FileCopyrightText: 2026 The Velmo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QObject>
#include <QString>
#include <QTimer>

#include "announcer.h"

class QLabel;
class QWidget;

namespace velmo {

// The window as a screen reader presents it: a name and a description for
// every control, the display labels' state in words (see AccessibleLabel),
// and the changes worth hearing spoken whichever control has the focus: a
// new frequency, the receiver switched on or off, the scanner started,
// holding on a frequency, or stopped. Nothing of it is drawn: the window
// looks the same and sends the same with or without a screen reader.
class PanelAccessibility final : public QObject {
public:
    // Lets the display labels give the words above; before they are made, so
    // that no label gets Qt's plain interface first.
    static void InstallInterfaces();

    // Names and describes the controls of `window`, found by their names.
    explicit PanelAccessibility(QWidget& window);

    // Told by the window after it has changed what a display label shows.
    void FrequencyShown(QLabel& display);
    void IndicatorShown(QLabel& indicator);
    void SignalShown(QLabel& bar);

private:
    void ScannerHolds();

    accessibility::Announcer announcer_;
    QString frequency_;  // the words last told for each display
    QString receiver_;
    QString scanner_;
    int signal_ = -1;
    bool scanning_ = false;
    // While the scanner runs, the frequency changes many times a second; it
    // is spoken only once it has stayed put this long, when the scanner holds.
    QTimer scan_rest_;
};

}  // namespace velmo
