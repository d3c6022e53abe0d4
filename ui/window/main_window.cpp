// SPDX-FileCopyrightText: 2026 The Velmo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "main_window.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QMessageBox>
#include <QRadioButton>
#include <QScrollBar>
#include <stdexcept>
#include <utility>

#include "accessibility.h"
#include "virtual_keys.h"

namespace velmo {
MainWindow::MainWindow(SerialLink& link, int port_number, FailureReporter report, QWidget* parent)
    : QWidget(parent),
      link_(link),
      report_(std::move(report)),
      timer1_([this] { Timer1_Timer(); }),
      timer2_([this] { Timer2_Timer(); }),
      timer3_([this] { Timer3_Timer(); }),
      panel_(link, *this, timer1_, timer2_, timer3_, clock_, port_number) {
    if (!report_) {
        report_ = [this](const std::exception& error) {
            QMessageBox::critical(this, windowTitle(), QString::fromLocal8Bit(error.what()));
        };
    }
    PanelAccessibility::InstallInterfaces();
    BuildControls();
    accessibility_ = std::make_unique<PanelAccessibility>(*this);
    WireEvents();
    QCoreApplication::instance()->installEventFilter(this);
    Form_Load();
}

MainWindow::~MainWindow() {
    ending_ = true;
    QCoreApplication::instance()->removeEventFilter(this);
    // The controls go first, while the panel that their events call exists.
    qDeleteAll(findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly));
}

void MainWindow::WireEvents() {
    for (const CommandButtonRow& row : CommandButtons()) {
        connect(this->*row.field, &QAbstractButton::clicked, this, row.click);
    }
    // Typing a step moves the list's entry as well; the box raises no event.
    connect(tuning_step_, &QComboBox::editTextChanged, this, [this] { FollowStepText(); });

    // Every control of the panel's tables runs the event procedure its row
    // names. valueChanged comes only on a real change, from the user or
    // from code.
    for (const LevelControl& row : kLevelControls) {
        connect(Bar(row.bar), &QScrollBar::valueChanged, this, [this, &row] { Run(row.change); });
    }

    // An option button's click is its becoming selected; the one cleared by
    // it raises nothing.
    for (const OptionControl& row : kOptionControls) {
        connect(Option(row.button), &QAbstractButton::toggled, this, [this, &row](bool selected) {
            if (selected) Run(row.click);
        });
    }

    for (const SwitchControl& row : kSwitchControls) {
        QCheckBox* box = Box(row.box);
        auto changed = [this, box, &row](Qt::CheckState state) {
            // Grayed is a state only the program sets; the user's clicks
            // go between checked and clear again.
            if (state != Qt::PartiallyChecked) box->setTristate(false);
            Run(row.click);
        };
        // Qt 6.7 gave the signal its typed state and deprecated the int one.
#if QT_VERSION >= QT_VERSION_CHECK(6, 7, 0)
        connect(box, &QCheckBox::checkStateChanged, this, changed);
#else
        connect(box, &QCheckBox::stateChanged, this,
                [changed](int state) { changed(static_cast<Qt::CheckState>(state)); });
#endif
    }
}

// ---- Ending --------------------------------------------------------------

template <typename Operation>
void MainWindow::Guard(Operation&& operation) {
    if (ending_) return;
    try {
        operation();
    } catch (const ProgramEnded&) {
        // The program is ending; the operation has unwound, nothing to add.
    } catch (const std::exception& error) {
        Fail(error);
    } catch (...) {
        Fail(std::runtime_error("unexpected failure"));
    }
}

void MainWindow::BeginEnding(int status) {
    if (ending_) return;
    ending_ = true;
    exit_status_ = status;
    timer1_.SetEnabled(false);
    timer2_.SetEnabled(false);
    timer3_.SetEnabled(false);
}

void MainWindow::Fail(const std::exception& error) {
    if (ending_) return;
    BeginEnding(1);
    try {
        report_(error);
    } catch (...) {
        // Nothing more can be told; the status still says it failed.
    }
    QCoreApplication::exit(exit_status_);
}

void MainWindow::EndProgram() {
    BeginEnding(0);
    QCoreApplication::exit(exit_status_);
    throw ProgramEnded{};
}

void MainWindow::DoEvents() {
    if (ending_) throw ProgramEnded{};
    // Sleeps until something happens; a pause always has Timer1 running.
    QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    if (ending_) throw ProgramEnded{};
    // A failure the serial layer noticed on its own (a hang-up) throws here.
    (void)link_.IsOpen();
}

void MainWindow::closeEvent(QCloseEvent* event) {
    // Like Escape: the receiver is left as it is.
    if (!ending_) {
        BeginEnding(0);
        QCoreApplication::exit(exit_status_);
    }
    event->accept();
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::KeyPress || !watched->isWidgetType()) return false;
    // A key the focused control leaves alone travels on to its parents;
    // only its first delivery counts.
    if (watched != FirstKeyReceiver(static_cast<QWidget*>(watched)->window())) return false;
    const auto* key = static_cast<QKeyEvent*>(event);
    if (const int code = VirtualKeyCode(*key)) Form_KeyDown(code);
    return false;  // the control still gets the key
}

QWidget* MainWindow::FirstKeyReceiver(QWidget* key_window) {
    if (key_window == this) return focusWidget() ? focusWidget() : this;
    // The list of the tuning-step box, dropped down, is a popup window of its
    // own; the box keeps the focus meanwhile and the popup takes its keys.
    const bool popup_of_focused_control =
        key_window->windowType() == Qt::Popup && focusWidget() && key_window->parentWidget() == focusWidget();
    if (popup_of_focused_control) return key_window->focusWidget() ? key_window->focusWidget() : key_window;
    // Any other window's keys (the input box's) are its own.
    return nullptr;
}

// ---- Event procedures ----------------------------------------------------

void MainWindow::Form_Load() {
    Guard([this] { panel_.SetDefaults(); });
}
void MainWindow::Form_KeyDown(int key_code) {
    Guard([this, key_code] { panel_.HandleKey(key_code); });
}
void MainWindow::RadioOn_Click() {
    Guard([this] { panel_.PowerOn(); });
}
void MainWindow::RadioOff_Click() {
    Guard([this] { panel_.PowerOff(); });
}
void MainWindow::Run(EventProcedure procedure) {
    Guard([this, procedure] { (control_events_.*procedure)(); });
}
void MainWindow::FrequencyUp_Click() {
    Guard([this] { panel_.TuneUp(); });
}
void MainWindow::FrequencyDown_Click() {
    Guard([this] { panel_.TuneDown(); });
}
void MainWindow::Direct_Click() {
    Guard([this] { panel_.EnterFrequency(); });
}
void MainWindow::Scan_Click() {
    Guard([this] { panel_.ToggleScan(); });
}
void MainWindow::Timer1_Timer() {
    Guard([this] { panel_.Timer1_Timer(); });
}
void MainWindow::Timer2_Timer() {
    Guard([this] { panel_.ReadSignal(); });
}
void MainWindow::Timer3_Timer() {
    Guard([this] { panel_.ScanStep(); });
}

}  // namespace velmo
