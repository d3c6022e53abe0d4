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
                           ButtonPicture picture) {
    auto* button = new QToolButton(parent);
    button->setObjectName(QString::fromLatin1(name));
    button->setGeometry(place);
    button->setText(caption);  // "&" gives the access key
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
    radio_on_ =
        CommandButton(this, "RadioOn", QStringLiteral("&ON"), TwipsRect(480, 2760, 1335, 1215), ButtonPicture::RadioOn);
    radio_off_ = CommandButton(this, "RadioOff", QStringLiteral("O&FF"), TwipsRect(1920, 2760, 1335, 1215),
                               ButtonPicture::RadioOff);
    frequency_up_ = CommandButton(this, "FrequencyUp", QStringLiteral("&UP"), TwipsRect(3360, 2760, 1335, 1215),
                                  ButtonPicture::FrequencyUp);
    frequency_down_ = CommandButton(this, "FrequencyDown", QStringLiteral("&DOWN"), TwipsRect(4800, 2760, 1335, 1215),
                                    ButtonPicture::FrequencyDown);
    direct_ = CommandButton(this, "Direct", QStringLiteral("DI&RECT"), TwipsRect(6240, 2760, 1335, 1215),
                            ButtonPicture::Direct);
    scan_ =
        CommandButton(this, "Scan", QStringLiteral("SC&AN"), TwipsRect(7680, 2760, 1335, 1215), ButtonPicture::Scan);
    indicators_[static_cast<int>(Indicator::ScanLabel)] =
        ColouredLabel(this, "ScanLabel", TwipsRect(9120, 2760, 255, 1215), kIndicatorRed, kPanelBlack);
    lists_[static_cast<int>(CodeList::CodesIn)] = NewCodeList(this, "CodesIn", TwipsRect(9480, 2760, 2295, 4050));

    // Levels. Volume belongs to the window and lies over its frame, at the
    // place the other two bars have in theirs.
    auto* volume_frame = Frame(this, "VolumeFrame", QStringLiteral("Volume"), TwipsRect(120, 4080, 3135, 855));
    auto* squelch_frame = Frame(this, "SquelchFrame", QStringLiteral("Squelch"), TwipsRect(120, 5040, 3135, 855));
    auto* if_shift_frame = Frame(this, "IfShiftFrame", QStringLiteral("IF Shift"), TwipsRect(120, 6000, 3135, 855));
    level_frames_ = {volume_frame, squelch_frame, if_shift_frame};
    scroll_bars_ = {LevelBar(this, "Volume", TwipsRect(240, 4560, 2895, 255)),
                    LevelBar(squelch_frame, "Squelch", TwipsRect(120, 480, 2895, 255)),
                    LevelBar(if_shift_frame, "IfShift", TwipsRect(120, 480, 2895, 255))};

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
    check_boxes_[static_cast<int>(CheckBox::AFC)] =
        Switch(this, "AFC", QStringLiteral("AFC"), TwipsRect(3720, 6000, 855, 255));
    check_boxes_[static_cast<int>(CheckBox::ATT)] =
        Switch(this, "ATT", QStringLiteral("ATT"), TwipsRect(4680, 6000, 855, 255));
    check_boxes_[static_cast<int>(CheckBox::NB)] =
        Switch(this, "NB", QStringLiteral("NB"), TwipsRect(4680, 6360, 855, 255));
    check_boxes_[static_cast<int>(CheckBox::AGC)] =
        Switch(this, "AGC", QStringLiteral("AGC"), TwipsRect(3720, 6360, 855, 255));

    // The two groups of option buttons, each held by its frame.
    auto* mode_frame = Frame(this, "ModeFrame", QStringLiteral("Mode"), TwipsRect(5880, 4080, 1335, 2775));
    auto* modes = new QButtonGroup(mode_frame);
    const std::pair<const char*, int> mode_rows[] = {{"AM", 360},   {"FM", 720},   {"WFM", 1080},
                                                     {"USB", 1440}, {"LSB", 1800}, {"CW", 2160}};
    int index = static_cast<int>(OptionButton::AM);
    for (const auto& [name, top] : mode_rows) {
        options_[index++] =
            OptionButtonIn(mode_frame, modes, name, QString::fromLatin1(name), TwipsRect(240, top, 975, 495));
    }

    auto* filter_frame = Frame(this, "FilterFrame", QStringLiteral("Filter"), TwipsRect(7440, 4080, 1935, 2775));
    auto* filters = new QButtonGroup(filter_frame);
    const std::pair<const char*, const char*> filter_rows[] = {{"Filter1", "2.8 KHz"},
                                                               {"Filter2", "6 KHz"},
                                                               {"Filter3", "15 KHz"},
                                                               {"Filter4", "50 KHz"},
                                                               {"Filter5", "230 KHz"}};
    int top = 360;
    index = static_cast<int>(OptionButton::Filter1);
    for (const auto& [name, caption] : filter_rows) {
        options_[index++] =
            OptionButtonIn(filter_frame, filters, name, QString::fromLatin1(caption), TwipsRect(240, top, 1575, 495));
        top += 360;
    }

    new OptionGroupKeys(modes);
    new OptionGroupKeys(filters);
    auto* enter_clicks = new EnterClicks(this);
    for (QAbstractButton* button : {radio_on_, radio_off_, frequency_up_, frequency_down_, direct_, scan_}) {
        enter_clicks->Watch(button);
    }

    // Controls that lie over a frame without belonging to it go on top.
    scroll_bars_[static_cast<int>(ScrollBar::Volume)]->raise();
    tuning_step_->raise();
    for (QCheckBox* box : check_boxes_) box->raise();

    SetTabOrder();
}

void MainWindow::SetTabOrder() {
    auto option = [this](OptionButton button) -> QWidget* { return Option(button); };
    auto box = [this](CheckBox which) -> QWidget* { return Box(which); };
    std::vector<std::pair<int, QWidget*>> order = {
        {0, List(CodeList::CodesOut)},
        {1, radio_on_},
        {2, radio_off_},
        {4, Bar(ScrollBar::Volume)},
        {7, Bar(ScrollBar::Squelch)},
        {8, Bar(ScrollBar::IfShift)},
        {10, option(OptionButton::FM)},
        {11, option(OptionButton::WFM)},
        {12, option(OptionButton::USB)},
        {13, option(OptionButton::LSB)},
        {14, option(OptionButton::CW)},
        {15, option(OptionButton::AM)},
        {17, option(OptionButton::Filter1)},
        {18, option(OptionButton::Filter5)},
        {19, option(OptionButton::Filter4)},
        {20, option(OptionButton::Filter3)},
        {21, option(OptionButton::Filter2)},
        {23, tuning_step_},
        {24, frequency_up_},
        {25, frequency_down_},
        {27, box(CheckBox::AFC)},
        {28, box(CheckBox::ATT)},
        {29, box(CheckBox::NB)},
        {30, box(CheckBox::AGC)},
        {35, direct_},
        {36, scan_},
        {38, List(CodeList::CodesIn)},
    };
    std::sort(order.begin(), order.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
    for (std::size_t i = 1; i < order.size(); ++i) {
        QWidget::setTabOrder(order[i - 1].second, order[i].second);
    }
}

}  // namespace velmo
