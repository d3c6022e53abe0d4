// SPDX-FileCopyrightText: 2026 The Velmo developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The panel's view of the controls: values, captions and colours.

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QInputDialog>
#include <QLabel>
#include <QRadioButton>
#include <QScrollBar>
#include <utility>

#include "accessibility.h"
#include "code_list_box.h"
#include "frequency_display.h"
#include "main_window.h"

namespace velmo {
namespace {

QColor ToColor(Rgb colour) { return QColor(colour.red, colour.green, colour.blue); }

// The panel's texts are bytes, one character each, as on the serial line.
QString FromPanelText(const std::string& text) {
    return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
}

std::string ToPanelText(const QString& text) { return text.toLatin1().toStdString(); }

void SetPaletteColour(QWidget* widget, QPalette::ColorRole role, Rgb colour) {
    QPalette palette = widget->palette();
    palette.setColor(role, ToColor(colour));
    widget->setPalette(palette);
}

}  // namespace

QScrollBar* MainWindow::Bar(ScrollBar bar) const { return scroll_bars_.at(static_cast<std::size_t>(bar)); }
QRadioButton* MainWindow::Option(OptionButton button) const { return options_.at(static_cast<std::size_t>(button)); }
QCheckBox* MainWindow::Box(CheckBox box) const { return check_boxes_.at(static_cast<std::size_t>(box)); }
CodeListBox* MainWindow::List(CodeList list) const { return lists_.at(static_cast<std::size_t>(list)); }

int MainWindow::ScrollValue(ScrollBar bar) const { return Bar(bar)->value(); }

void MainWindow::SetScrollValue(ScrollBar bar, int value) { Bar(bar)->setValue(value); }

void MainWindow::SetFrameCaption(ScrollBar bar, const std::string& caption) {
    level_frames_.at(static_cast<std::size_t>(bar))->setTitle(FromPanelText(caption));
}

bool MainWindow::OptionSelected(OptionButton button) const { return Option(button)->isChecked(); }

void MainWindow::SetOptionSelected(OptionButton button, bool selected) {
    QRadioButton* option = Option(button);
    if (selected || !option->isChecked()) {
        option->setChecked(selected);
        return;
    }
    // An exclusive group keeps its selected button; clearing it from code
    // leaves the group with none selected, as at start-up.
    QButtonGroup* group = option->group();
    group->setExclusive(false);
    option->setChecked(false);
    group->setExclusive(true);
}

int MainWindow::CheckState(CheckBox box) const {
    switch (Box(box)->checkState()) {
        case Qt::Unchecked: return kUnchecked;
        case Qt::Checked: return kChecked;
        case Qt::PartiallyChecked: return kGrayed;
    }
    return kUnchecked;
}

void MainWindow::SetCheckState(CheckBox box, int state) {
    QCheckBox* check_box = Box(box);
    if (state == kGrayed) {
        check_box->setTristate(true);
        check_box->setCheckState(Qt::PartiallyChecked);
    } else {
        check_box->setCheckState(state == kUnchecked ? Qt::Unchecked : Qt::Checked);
    }
}

std::string MainWindow::TuningStepText() const { return ToPanelText(tuning_step_->currentText()); }

void MainWindow::SetTuningStepText(const std::string& text) {
    tuning_step_->setEditText(FromPanelText(text));
    FollowStepText();
}

void MainWindow::FollowStepText() {
    // The list opens on the step shown, and the arrow keys move from it. A
    // text that is no step leaves the entry as it was.
    const int entry = tuning_step_->findText(tuning_step_->currentText(), Qt::MatchExactly | Qt::MatchCaseSensitive);
    if (entry >= 0 && entry != tuning_step_->currentIndex()) tuning_step_->setCurrentIndex(entry);
}

void MainWindow::SetFrequencyDisplay(const std::string& text) {
    display_frequency_->ShowText(FromPanelText(text));
    accessibility_->FrequencyShown(*display_frequency_);
}

void MainWindow::SetIndicator(Indicator indicator, Rgb background) {
    QLabel* label = indicators_.at(static_cast<std::size_t>(indicator));
    SetPaletteColour(label, QPalette::Window, background);
    accessibility_->IndicatorShown(*label);
}

void MainWindow::SetSignalBar(const std::string& caption, Rgb text_colour) {
    signal_strength_->setText(FromPanelText(caption));
    SetPaletteColour(signal_strength_, QPalette::WindowText, text_colour);
    accessibility_->SignalShown(*signal_strength_);
}

void MainWindow::AppendListEntry(CodeList list, const std::string& entry) { List(list)->Append(FromPanelText(entry)); }

void MainWindow::RemoveOldestListEntry(CodeList list) { List(list)->RemoveOldest(); }

int MainWindow::ListCount(CodeList list) const { return List(list)->Count(); }

// The list scrolls when events next run, once for a burst of entries.
void MainWindow::SetListTopIndex(CodeList list, int index) { List(list)->ShowAtTop(index); }

std::string MainWindow::InputBox(const std::string& prompt, const std::string& title, const std::string& default_text) {
    if (ending_) throw ProgramEnded{};
    bool accepted = false;
    const QString text = QInputDialog::getText(this, FromPanelText(title), FromPanelText(prompt), QLineEdit::Normal,
                                               FromPanelText(default_text), &accepted);
    if (ending_) throw ProgramEnded{};
    return accepted ? text.toStdString() : std::string();
}

}  // namespace velmo
