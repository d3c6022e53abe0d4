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

QColor ToQColor(Rgb rgb) { return QColor(rgb.red, rgb.green, rgb.blue); }

constexpr Rgb kPanelGrey{192, 192, 192};
constexpr Rgb kPanelBlack{0, 0, 0};
constexpr Rgb kPanelWhite{255, 255, 255};
constexpr Rgb kCodeGreen{0, 255, 0};
constexpr Rgb kDisplayCyan{0, 255, 255};
constexpr Rgb kStepCyan{128, 255, 255};

struct PanelFont {
    const char* family = nullptr;
    qreal points = 0;
    bool bold = false;
};
constexpr PanelFont kFrameFont{"Comic Sans MS", 14.25};
constexpr PanelFont kButtonFont{"Comic Sans MS", 15.75, true};
constexpr PanelFont kOptionFont{"Courier New", 14.25};
constexpr PanelFont kCodeListFont{"Courier New", 8.25};

QFont ToQFont(const PanelFont& panel_font) {
    QFont font(QString::fromLatin1(panel_font.family));
    font.setPointSizeF(panel_font.points);
    font.setBold(panel_font.bold);
    return font;
}

// The window's client area, in twips.
constexpr int kClientWidth = 11895;
constexpr int kClientHeight = 6990;

// The rest of the window, one row per control: the labels, the frames that
// only lie under controls of the window, the two code lists and the tuning
// step box.
struct LabelRow {
    const char* name;
    TwipsPlace place;
    Rgb background;
    Rgb text;
    PanelFont font;  // none for the indicator strips, which show no text
};
constexpr LabelRow kSignalStrength{
    "SignalStrength", {120, 120, 9255, 495}, kPanelBlack, kBlue, {"MS Sans Serif", 24, true}};
// Directly under the bar, with its left edge and width, so that the bar's
// length reads against it.
constexpr LabelRow kSignalScale{
    "SignalScale", {120, 600, 9255, 495}, kPanelBlack, kPanelWhite, {"Comic Sans MS", 11.25}};
constexpr LabelRow kDisplayFrequency{
    "DisplayFrequency", {120, 1080, 9255, 1575}, kPanelBlack, kDisplayCyan, {"Courier New", 63.75, true}};
// The indicator strips left of ON and right of SCAN, in the order of
// Indicator; their colour is their whole message.
constexpr LabelRow kIndicatorStrips[] = {
    {"OnOffLabel", {120, 2760, 255, 1215}, kRed, kPanelBlack, {}},
    {"ScanLabel", {9120, 2760, 255, 1215}, kRed, kPanelBlack, {}},
};

struct FrameRow {
    const char* name;
    const char* caption;
    TwipsPlace place;
};
constexpr FrameRow kTuningStepFrame{"TuningStepFrame", "Tuning Step", {3480, 4080, 2175, 1335}};
constexpr FrameRow kImproveSignalFrame{"ImproveSignalFrame", "Improve Signal", {3480, 5520, 2175, 1335}};

struct CodeListRow {
    const char* name;
    TwipsPlace place;
    int tab_index;
};
// In the order of CodeList.
constexpr CodeListRow kCodeLists[] = {
    {"CodesOut", {9480, 120, 2295, 2580}, 0},
    {"CodesIn", {9480, 2760, 2295, 4050}, 38},
};

struct StepBoxRow {
    const char* name;
    TwipsPlace place;
    PanelFont font;
    const char* text;  // until start-up sets its own
    int tab_index;
};
constexpr StepBoxRow kTuningStep{"TuningStep", {3600, 4680, 1935, 465}, {"Courier New", 15.75}, "10 KHz", 23};

void SetColours(QWidget* widget, QPalette::ColorRole background_role, Rgb background, QPalette::ColorRole text_role,
                Rgb text) {
    QPalette palette = widget->palette();
    palette.setColor(background_role, ToQColor(background));
    palette.setColor(text_role, ToQColor(text));
    widget->setPalette(palette);
}

// A label whose own background is painted, in the colours and font of its
// row; the indicator strips show no text and keep the window's font.
template <typename Label = QLabel>
Label* ColouredLabel(QWidget* parent, const LabelRow& row) {
    auto* label = new Label(parent);
    label->setObjectName(QString::fromLatin1(row.name));
    label->setGeometry(TwipsRect(row.place));
    label->setAutoFillBackground(true);
    SetColours(label, QPalette::Window, row.background, QPalette::WindowText, row.text);
    if (row.font.family) label->setFont(ToQFont(row.font));
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
    frame->setFont(ToQFont(kFrameFont));
    return frame;
}

QGroupBox* Frame(QWidget* parent, const FrameRow& row) {
    return Frame(parent, row.name, QString::fromLatin1(row.caption), TwipsRect(row.place));
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
    button->setFont(ToQFont(kButtonFont));
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
    option->setFont(ToQFont(kOptionFont));
    group->addButton(option);
    return option;
}

QCheckBox* Switch(QWidget* parent, const char* name, const QString& caption, const QRect& place) {
    auto* box = new QCheckBox(caption, parent);
    box->setObjectName(QString::fromLatin1(name));
    box->setGeometry(place);
    box->setFont(ToQFont(kOptionFont));
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

CodeListBox* NewCodeList(QWidget* parent, const CodeListRow& row) {
    auto* list = new CodeListBox(FrontPanel::kMaxListEntries, parent);
    list->setObjectName(QString::fromLatin1(row.name));
    list->setGeometry(TwipsRect(row.place));
    list->setFont(ToQFont(kCodeListFont));
    list->setItemDelegate(new CodeRowDelegate(list));
    SetColours(list, QPalette::Base, kPanelBlack, QPalette::Text, kCodeGreen);
    return list;
}

}  // namespace

std::span<const MainWindow::CommandButtonRow> MainWindow::CommandButtons() {
    static const CommandButtonRow rows[] = {
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
    return rows;
}

void MainWindow::BuildControls() {
    setWindowTitle(QStringLiteral("Velmo - ICOM PCR1000"));
    setWindowIcon(WindowIcon());
    setFixedSize(TwipsToPixels(kClientWidth), TwipsToPixels(kClientHeight));
    setAutoFillBackground(true);
    QPalette palette = this->palette();
    for (auto role : {QPalette::Window, QPalette::Button}) palette.setColor(role, ToQColor(kPanelGrey));
    for (auto role : {QPalette::WindowText, QPalette::ButtonText, QPalette::Text}) {
        palette.setColor(role, ToQColor(kPanelBlack));
    }
    palette.setColor(QPalette::Base, ToQColor(kPanelWhite));
    setPalette(palette);

    // Signal meter and frequency display.
    signal_strength_ = ColouredLabel(this, kSignalStrength);
    signal_strength_->setText(FullSignalBar());
    FitTextToWidth(signal_strength_, FullSignalBar());

    auto* scale = ColouredLabel(this, kSignalScale);
    scale->setText(SignalScaleText());
    FitTextToWidth(scale, SignalScaleText());

    display_frequency_ = ColouredLabel<FrequencyDisplay>(this, kDisplayFrequency);
    display_frequency_->setAlignment(Qt::AlignCenter);
    display_frequency_->setText(QStringLiteral("1300.000.000"));

    const auto codes_out = static_cast<std::size_t>(CodeList::CodesOut);
    lists_[codes_out] = NewCodeList(this, kCodeLists[codes_out]);

    // The row of buttons between the two indicator strips.
    const auto on_off = static_cast<std::size_t>(Indicator::OnOffLabel);
    indicators_[on_off] = ColouredLabel(this, kIndicatorStrips[on_off]);
    for (const CommandButtonRow& row : CommandButtons()) {
        this->*row.field = CommandButton(this, row.name, QString::fromLatin1(row.caption), TwipsRect(row.place),
                                         row.picture, row.description);
    }
    const auto scan = static_cast<std::size_t>(Indicator::ScanLabel);
    indicators_[scan] = ColouredLabel(this, kIndicatorStrips[scan]);
    const auto codes_in = static_cast<std::size_t>(CodeList::CodesIn);
    lists_[codes_in] = NewCodeList(this, kCodeLists[codes_in]);

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
    Frame(this, kTuningStepFrame);
    tuning_step_ = new QComboBox(this);
    tuning_step_->setObjectName(QString::fromLatin1(kTuningStep.name));
    tuning_step_->setGeometry(TwipsRect(kTuningStep.place));
    tuning_step_->setFont(ToQFont(kTuningStep.font));
    tuning_step_->setEditable(true);
    tuning_step_->setInsertPolicy(QComboBox::NoInsert);  // typing never adds entries
    tuning_step_->setCompleter(nullptr);                 // nor completes them
    for (const QString& entry : TuningStepEntries()) tuning_step_->addItem(entry, 0);
    tuning_step_->setEditText(QString::fromLatin1(kTuningStep.text));
    SetColours(tuning_step_, QPalette::Base, kStepCyan, QPalette::Text, kPanelBlack);

    Frame(this, kImproveSignalFrame);
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
    for (const CommandButtonRow& row : CommandButtons()) enter_clicks->Watch(this->*row.field);

    // Controls that lie over a frame without belonging to it go on top.
    for (const LevelControl& row : kLevelControls) {
        if (row.lies_over_frame) Bar(row.bar)->raise();
    }
    tuning_step_->raise();
    for (QCheckBox* box : check_boxes_) box->raise();

    SetTabOrder();
}

void MainWindow::SetTabOrder() {
    std::vector<std::pair<int, QWidget*>> order;
    for (std::size_t i = 0; i < std::size(kCodeLists); ++i) order.emplace_back(kCodeLists[i].tab_index, lists_[i]);
    order.emplace_back(kTuningStep.tab_index, tuning_step_);
    for (const CommandButtonRow& row : CommandButtons()) order.emplace_back(row.tab_index, this->*row.field);
    for (const LevelControl& row : kLevelControls) order.emplace_back(row.tab_index, Bar(row.bar));
    for (const OptionControl& row : kOptionControls) order.emplace_back(row.tab_index, Option(row.button));
    for (const SwitchControl& row : kSwitchControls) order.emplace_back(row.tab_index, Box(row.box));
    std::sort(order.begin(), order.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
    for (std::size_t i = 1; i < order.size(); ++i) {
        QWidget::setTabOrder(order[i - 1].second, order[i].second);
    }
}

}  // namespace velmo
