// SPDX-FileCopyrightText: 2026 The Velmo developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The window's controls with their places, fonts, colours and tab order.

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QFontMetricsF>
#include <QGroupBox>
#include <QLabel>
#include <QRadioButton>
#include <QScrollBar>
#include <QToolButton>
#include <algorithm>
#include <array>
#include <iterator>
#include <utility>
#include <vector>

#include "button_keys.h"
#include "button_pictures.h"
#include "code_list_box.h"
#include "code_row_delegate.h"
#include "frequency_display.h"
#include "main_window.h"
#include "panel_texts.h"
#include "twips.h"

namespace velmo {
namespace {

const QColor kPanelGrey(192, 192, 192);
const QColor kPanelBlack(0, 0, 0);
const QColor kPanelWhite(255, 255, 255);
const QColor kBarBlue(0, 0, 255);
const QColor kCodeGreen(0, 255, 0);
const QColor kDisplayCyan(0, 255, 255);
const QColor kIndicatorRed(255, 0, 0);
const QColor kStepCyan(128, 255, 255);

QFont PanelFont(const char* family, qreal points, bool bold = false) {
    QFont font(QString::fromLatin1(family));
    font.setPointSizeF(points);
    font.setBold(bold);
    return font;
}

QFont FrameFont() { return PanelFont("Comic Sans MS", 14.25); }
QFont ButtonFont() { return PanelFont("Comic Sans MS", 15.75, true); }
QFont OptionFont() { return PanelFont("Courier New", 14.25); }

void SetColours(QWidget* widget, QPalette::ColorRole background_role, const QColor& background,
                QPalette::ColorRole text_role, const QColor& text) {
    QPalette palette = widget->palette();
    palette.setColor(background_role, background);
    palette.setColor(text_role, text);
    widget->setPalette(palette);
}

// A label whose own background is painted, in the given colours.
template <typename Label = QLabel>
Label* ColouredLabel(QWidget* parent, const char* name, const QRect& place, const QColor& background,
                     const QColor& text) {
    auto* label = new Label(parent);
    label->setObjectName(QString::fromLatin1(name));
    label->setGeometry(place);
    label->setAutoFillBackground(true);
    SetColours(label, QPalette::Window, background, QPalette::WindowText, text);
    return label;
}

// Spaces the characters so that `text` spans the label's width exactly. The
// bar and its scale were drawn for fonts that a platform may lack; this way
// the full bar and the scale keep the label's width whatever stands in.
void FitTextToWidth(QLabel* label, const QString& text) {
    QFont font = label->font();
    font.setLetterSpacing(QFont::AbsoluteSpacing, 0.0);
    const qreal natural = QFontMetricsF(font).horizontalAdvance(text);
    const qreal spare = label->contentsRect().width() - natural;
    font.setLetterSpacing(QFont::AbsoluteSpacing, spare / static_cast<qreal>(text.size()));
    label->setFont(font);
}

QGroupBox* Frame(QWidget* parent, const char* name, const QString& caption, const QRect& place) {
    auto* frame = new QGroupBox(caption, parent);
    frame->setObjectName(QString::fromLatin1(name));
    frame->setGeometry(place);
    frame->setFont(FrameFont());
    return frame;
}

QScrollBar* LevelBar(QWidget* parent, const char* name, const QRect& place) {
    auto* bar = new QScrollBar(Qt::Horizontal, parent);
    bar->setObjectName(QString::fromLatin1(name));
    bar->setGeometry(place);
    bar->setRange(0, 255);
    bar->setSingleStep(1);
    bar->setPageStep(1);
    bar->setValue(0);
    // The level goes out once, where the user lets go, not for every step
    // of a drag.
    bar->setTracking(false);
    bar->setFocusPolicy(Qt::StrongFocus);
    return bar;
}

QToolButton* CommandButton(QWidget* parent, const char* name, const QString& caption, const QRect& place,
                           ButtonPicture picture, const char* description) {
    auto* button = new QToolButton(parent);
    button->setObjectName(QString::fromLatin1(name));
    button->setGeometry(place);
    button->setText(caption);  // "&" gives the access key
    button->setAccessibleDescription(QString::fromLatin1(description));
    button->setFont(ButtonFont());
    button->setIcon(PictureIcon(picture));
    button->setIconSize(PictureSize(picture));
    button->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    button->setFocusPolicy(Qt::StrongFocus);
    return button;
}

QRadioButton* OptionButtonIn(QGroupBox* frame, QButtonGroup* group, const char* name, const QString& caption,
                             const QRect& place) {
    auto* option = new QRadioButton(caption, frame);
    option->setObjectName(QString::fromLatin1(name));
    option->setGeometry(place);
    option->setFont(OptionFont());
    group->addButton(option);
    return option;
}

QCheckBox* Switch(QWidget* parent, const char* name, const QString& caption, const QRect& place) {
    auto* box = new QCheckBox(caption, parent);
    box->setObjectName(QString::fromLatin1(name));
    box->setGeometry(place);
    box->setFont(OptionFont());
    return box;
}

// The rows of a table of controls, first in the tab order first.
template <typename Control, std::size_t N>
std::array<const Control*, N> InTabOrder(const Control (&rows)[N]) {
    std::array<const Control*, N> ordered{};
    for (std::size_t i = 0; i < N; ++i) ordered[i] = &rows[i];
    std::sort(ordered.begin(), ordered.end(),
              [](const Control* a, const Control* b) { return a->tab_index < b->tab_index; });
    return ordered;
}

CodeListBox* NewCodeList(QWidget* parent, const char* name, const QRect& place) {
    auto* list = new CodeListBox(FrontPanel::kMaxListEntries, parent);
    list->setObjectName(QString::fromLatin1(name));
    list->setGeometry(place);
    list->setFont(PanelFont("Courier New", 8.25));
    list->setItemDelegate(new CodeRowDelegate(list));
    SetColours(list, QPalette::Base, kPanelBlack, QPalette::Text, kCodeGreen);
    return list;
}

}  // namespace

const MainWindow::CommandButtonRow MainWindow::kCommandButtons[] = {
    {&MainWindow::radio_on_,
     "RadioOn",
     "&ON",
     {480, 2760, 1335, 1215},
     ButtonPicture::RadioOn,
     "Switches the receiver on. Key: Insert",
     1,
     &MainWindow::RadioOn_Click},
    {&MainWindow::radio_off_,
     "RadioOff",
     "O&FF",
     {1920, 2760, 1335, 1215},
     ButtonPicture::RadioOff,
     "Switches the receiver off. Key: Delete",
     2,
     &MainWindow::RadioOff_Click},
    {&MainWindow::frequency_up_,
     "FrequencyUp",
     "&UP",
     {3360, 2760, 1335, 1215},
     ButtonPicture::FrequencyUp,
     "Tunes up one step. Keys: Page Up or U",
     24,
     &MainWindow::FrequencyUp_Click},
    {&MainWindow::frequency_down_,
     "FrequencyDown",
     "&DOWN",
     {4800, 2760, 1335, 1215},
     ButtonPicture::FrequencyDown,
     "Tunes down one step. Keys: Page Down or D",
     25,
     &MainWindow::FrequencyDown_Click},
    {&MainWindow::direct_,
     "Direct",
     "DI&RECT",
     {6240, 2760, 1335, 1215},
     ButtonPicture::Direct,
     "Asks for a frequency in MHz. Key: Control",
     35,
     &MainWindow::Direct_Click},
    {&MainWindow::scan_,
     "Scan",
     "SC&AN",
     {7680, 2760, 1335, 1215},
     ButtonPicture::Scan,
     "Starts or stops the scanner. Key: Shift",
     36,
     &MainWindow::Scan_Click},
};

void MainWindow::BuildControls() {
    setWindowTitle(QStringLiteral("Velmo - ICOM PCR1000"));
    setWindowIcon(WindowIcon());
    setFixedSize(TwipsToPixels(11895), TwipsToPixels(6990));
    setAutoFillBackground(true);
    QPalette palette = this->palette();
    for (auto role : {QPalette::Window, QPalette::Button}) palette.setColor(role, kPanelGrey);
    for (auto role : {QPalette::WindowText, QPalette::ButtonText, QPalette::Text}) {
        palette.setColor(role, kPanelBlack);
    }
    palette.setColor(QPalette::Base, kPanelWhite);
    setPalette(palette);

    // Signal meter and frequency display.
    signal_strength_ = ColouredLabel(this, "SignalStrength", TwipsRect(120, 120, 9255, 495), kPanelBlack, kBarBlue);
    signal_strength_->setFont(PanelFont("MS Sans Serif", 24, true));
    signal_strength_->setText(FullSignalBar());
    FitTextToWidth(signal_strength_, FullSignalBar());

    auto* scale = ColouredLabel(this, "SignalScale", TwipsRect(120, 600, 9255, 495), kPanelBlack, kPanelWhite);
    scale->setFont(PanelFont("Comic Sans MS", 11.25));
    scale->setText(SignalScaleText());
    FitTextToWidth(scale, SignalScaleText());

    display_frequency_ = ColouredLabel<FrequencyDisplay>(this, "DisplayFrequency", TwipsRect(120, 1080, 9255, 1575),
                                                         kPanelBlack, kDisplayCyan);
    display_frequency_->setFont(PanelFont("Courier New", 63.75, true));
    display_frequency_->setAlignment(Qt::AlignCenter);
    display_frequency_->setText(QStringLiteral("1300.000.000"));

    lists_[static_cast<int>(CodeList::CodesOut)] = NewCodeList(this, "CodesOut", TwipsRect(9480, 120, 2295, 2580));

    // The row of buttons between the two indicator strips.
    indicators_[static_cast<int>(Indicator::OnOffLabel)] =
        ColouredLabel(this, "OnOffLabel", TwipsRect(120, 2760, 255, 1215), kIndicatorRed, kPanelBlack);
    for (const CommandButtonRow& row : kCommandButtons) {
        this->*row.field = CommandButton(this, row.name, QString::fromLatin1(row.caption), TwipsRect(row.place),
                                         row.picture, row.description);
    }
    indicators_[static_cast<int>(Indicator::ScanLabel)] =
        ColouredLabel(this, "ScanLabel", TwipsRect(9120, 2760, 255, 1215), kIndicatorRed, kPanelBlack);
    lists_[static_cast<int>(CodeList::CodesIn)] = NewCodeList(this, "CodesIn", TwipsRect(9480, 2760, 2295, 4050));

    // Levels. Volume belongs to the window and lies over its frame, at the
    // place the other two bars have in theirs.
    for (const LevelControl& row : kLevelControls) {
        const QByteArray frame_name = QByteArray(row.name) + "Frame";
        level_frames_[static_cast<std::size_t>(row.bar)] =
            Frame(this, frame_name.constData(), QString::fromLatin1(row.caption), TwipsRect(row.frame));
    }
    for (const LevelControl& row : kLevelControls) {
        const auto index = static_cast<std::size_t>(row.bar);
        QWidget* parent = row.lies_over_frame ? static_cast<QWidget*>(this) : level_frames_[index];
        scroll_bars_[index] = LevelBar(parent, row.name, TwipsRect(row.place));
    }

    // Tuning step and the receiver switches, also lying over their frames.
    Frame(this, "TuningStepFrame", QStringLiteral("Tuning Step"), TwipsRect(3480, 4080, 2175, 1335));
    tuning_step_ = new QComboBox(this);
    tuning_step_->setObjectName(QStringLiteral("TuningStep"));
    tuning_step_->setGeometry(TwipsRect(3600, 4680, 1935, 465));
    tuning_step_->setFont(PanelFont("Courier New", 15.75));
    tuning_step_->setEditable(true);
    tuning_step_->setInsertPolicy(QComboBox::NoInsert);  // typing never adds entries
    tuning_step_->setCompleter(nullptr);                 // nor completes them
    for (const QString& entry : TuningStepEntries()) tuning_step_->addItem(entry, 0);
    tuning_step_->setEditText(QStringLiteral("10 KHz"));
    SetColours(tuning_step_, QPalette::Base, kStepCyan, QPalette::Text, kPanelBlack);

    Frame(this, "ImproveSignalFrame", QStringLiteral("Improve Signal"), TwipsRect(3480, 5520, 2175, 1335));
    // Made in their tab order, as they are read.
    for (const SwitchControl* row : InTabOrder(kSwitchControls)) {
        check_boxes_[static_cast<std::size_t>(row->box)] =
            Switch(this, row->name, QString::fromLatin1(row->name), TwipsRect(row->place));
    }

    // The two groups of option buttons, each held by its frame.
    std::array<QButtonGroup*, std::size(kOptionFrames)> groups{};
    for (const OptionFrame& frame_row : kOptionFrames) {
        auto* frame = Frame(this, frame_row.name, QString::fromLatin1(frame_row.caption), TwipsRect(frame_row.place));
        auto* group = new QButtonGroup(frame);
        groups[static_cast<std::size_t>(frame_row.group)] = group;
        for (const OptionControl& row : kOptionControls) {
            if (row.group != frame_row.group) continue;
            options_[static_cast<std::size_t>(row.button)] =
                OptionButtonIn(frame, group, row.name, QString::fromLatin1(row.caption), TwipsRect(row.place));
        }
    }

    for (QButtonGroup* group : groups) new OptionGroupKeys(group);
    auto* enter_clicks = new EnterClicks(this);
    for (const CommandButtonRow& row : kCommandButtons) enter_clicks->Watch(this->*row.field);

    // Controls that lie over a frame without belonging to it go on top.
    for (const LevelControl& row : kLevelControls) {
        if (row.lies_over_frame) Bar(row.bar)->raise();
    }
    tuning_step_->raise();
    for (QCheckBox* box : check_boxes_) box->raise();

    SetTabOrder();
}

void MainWindow::SetTabOrder() {
    std::vector<std::pair<int, QWidget*>> order = {
        {0, List(CodeList::CodesOut)},
        {23, tuning_step_},
        {38, List(CodeList::CodesIn)},
    };
    for (const CommandButtonRow& row : kCommandButtons) order.emplace_back(row.tab_index, this->*row.field);
    for (const LevelControl& row : kLevelControls) order.emplace_back(row.tab_index, Bar(row.bar));
    for (const OptionControl& row : kOptionControls) order.emplace_back(row.tab_index, Option(row.button));
    for (const SwitchControl& row : kSwitchControls) order.emplace_back(row.tab_index, Box(row.box));
    std::sort(order.begin(), order.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
    for (std::size_t i = 1; i < order.size(); ++i) {
        QWidget::setTabOrder(order[i - 1].second, order[i].second);
    }
}

}  // namespace velmo
