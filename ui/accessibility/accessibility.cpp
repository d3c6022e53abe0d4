// SPDX-FileCopyrightText: 2026 The Velmo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "accessibility.h"

#include <QAbstractItemView>
#include <QAccessible>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QWidget>

#include "accessible_label.h"
#include "accessible_step_box.h"
#include "accessible_texts.h"
#include "panel_controls.h"

namespace velmo {
namespace {

using accessibility::AccessibleLabel;
using accessibility::AccessibleStepBox;
using accessibility::LabelKind;

constexpr int kScanRestMs = 1000;

struct LabelKindRow {
    const char* object_name;
    LabelKind kind;
};
constexpr LabelKindRow kLabels[] = {
    {"DisplayFrequency", LabelKind::Frequency}, {"SignalStrength", LabelKind::Signal},
    {"SignalScale", LabelKind::SignalScale},    {"OnOffLabel", LabelKind::ReceiverLamp},
    {"ScanLabel", LabelKind::ScannerLamp},
};

QAccessibleInterface* PanelInterfaces(const QString& class_name, QObject* object) {
    if (class_name == QLatin1String("QComboBox") && object->objectName() == QLatin1String("TuningStep")) {
        return new AccessibleStepBox(static_cast<QComboBox*>(object));
    }
    if (class_name != QLatin1String("QLabel")) return nullptr;
    for (const LabelKindRow& row : kLabels) {
        if (object->objectName() == QLatin1String(row.object_name)) {
            return new AccessibleLabel(static_cast<QLabel*>(object), row.kind);
        }
    }
    return nullptr;
}

// A control's name, when its caption does not say what it is, and what it
// does with the keys that work it. The command buttons are described by
// their rows in the window, the levels and switches by theirs in the
// panel's tables.
struct ControlRow {
    const char* object_name;
    const char* name;  // nullptr: the caption is the name
    const char* description;
};
constexpr ControlRow kControls[] = {
    {"CodesOut", "Commands sent", "Every command sent to the receiver, the newest last"},
    {"CodesIn", "Replies received", "Every reply code from the receiver, the newest last"},
    {"TuningStep", "Tuning step", "The step of UP and DOWN"},
};

void Describe(QWidget& window, const char* object_name, const char* name, const char* description) {
    auto* control = window.findChild<QWidget*>(QLatin1String(object_name));
    if (!control) return;
    if (name) control->setAccessibleName(QLatin1String(name));
    control->setAccessibleDescription(QLatin1String(description));
}

}  // namespace

void PanelAccessibility::InstallInterfaces() {
    static const bool installed = [] {
        QAccessible::installFactory(&PanelInterfaces);
        return true;
    }();
    (void)installed;
}

PanelAccessibility::PanelAccessibility(QWidget& window) : announcer_(window) {
    for (const ControlRow& row : kControls) Describe(window, row.object_name, row.name, row.description);
    // A bar's frame caption is its name; a switch's caption is its own.
    for (const LevelControl& row : kLevelControls) Describe(window, row.name, row.caption, row.description);
    for (const SwitchControl& row : kSwitchControls) Describe(window, row.name, nullptr, row.description);
    // The step box's parts are named for the step too: its list pops up as
    // an object of its own. A step chosen from the keyboard in the closed box
    // is told, as the box's own change of value is not.
    if (auto* step = window.findChild<QComboBox*>(QStringLiteral("TuningStep"))) {
        if (step->lineEdit()) step->lineEdit()->setAccessibleName(QStringLiteral("Tuning step"));
        step->view()->setAccessibleName(QStringLiteral("Tuning steps"));
        connect(step, &QComboBox::currentIndexChanged, this, [this, step] {
            if (step->hasFocus()) announcer_.Say(step->currentText());
        });
    }
    scan_rest_.setSingleShot(true);
    scan_rest_.setInterval(kScanRestMs);
    connect(&scan_rest_, &QTimer::timeout, this, &PanelAccessibility::ScannerHolds);
}

void PanelAccessibility::FrequencyShown(QLabel& display) {
    const QString words = accessibility::FrequencyInWords(display.text());
    if (words == frequency_) return;
    frequency_ = words;
    // The label's new text has already told its new name.
    QAccessibleValueChangeEvent value(&display, accessibility::FrequencyInMegahertz(display.text()).value_or(0.0));
    QAccessible::updateAccessibility(&value);
    if (scanning_) {
        if (QAccessible::isActive()) scan_rest_.start();
    } else {
        announcer_.Say(words);
    }
}

void PanelAccessibility::IndicatorShown(QLabel& indicator) {
    const bool receiver = indicator.objectName() == QLatin1String("OnOffLabel");
    const bool on = accessibility::LampIsOn(indicator.palette().color(QPalette::Window));
    const QString words =
        accessibility::LampInWords(receiver ? accessibility::Lamp::Receiver : accessibility::Lamp::Scanner, on);
    QString& told = receiver ? receiver_ : scanner_;
    if (words == told) return;
    told = words;
    // Only a colour changed: the label itself tells no one.
    QAccessibleEvent name(&indicator, QAccessible::NameChanged);
    QAccessible::updateAccessibility(&name);
    if (receiver) {
        announcer_.Say(words);
        return;
    }
    const bool was_scanning = scanning_;
    scanning_ = on;
    scan_rest_.stop();
    // Where the scanner stopped is news too: it did not say while it ran.
    announcer_.Say(was_scanning && !scanning_ ? words + QStringLiteral(" at ") + frequency_ : words);
}

void PanelAccessibility::SignalShown(QLabel& bar) {
    const int length = accessibility::SignalBarLength(bar.text());
    if (length == signal_) return;
    signal_ = length;
    QAccessibleValueChangeEvent value(&bar, length);
    QAccessible::updateAccessibility(&value);
}

void PanelAccessibility::ScannerHolds() {
    if (scanning_) announcer_.Say(frequency_);
}

}  // namespace velmo
