// SPDX-FileCopyrightText: 2026 The Velmo developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The window as it stands after start-up: controls, places, fonts, colours,
// captions and tab order.

#include <gtest/gtest.h>
#include <QAbstractButton>
#include <QCheckBox>
#include <QComboBox>
#include <QFontInfo>
#include <QFontMetricsF>
#include <QGroupBox>
#include <QLabel>
#include <QRadioButton>
#include <QScrollBar>
#include <QToolButton>
#include <iterator>
#include <map>
#include <memory>
#include <set>
#include <vector>

#include "code_list_box.h"
#include "fake_link.h"
#include "main_window.h"
#include "twips.h"
#include "window_test_support.h"

namespace velmo {
namespace {

using testing::FakeLink;

enum class Kind { Label, Frame, CommandButton, ListBox, ScrollBar, ComboBox, OptionButton, CheckBox };

struct ControlRow {
    const char* name;
    Kind kind;
    const char* parent;            // "" for the window itself
    int left, top, width, height;  // twips
    const char* family;
    double points;
    bool bold;
    int tab;  // -1: never takes the focus
};

// Fonts that the table does not name are left to the toolkit (family "").
const ControlRow kFixedControls[] = {
    {"SignalStrength", Kind::Label, "", 120, 120, 9255, 495, "MS Sans Serif", 24, true, -1},
    {"SignalScale", Kind::Label, "", 120, 600, 9255, 495, "Comic Sans MS", 11.25, false, -1},
    {"DisplayFrequency", Kind::Label, "", 120, 1080, 9255, 1575, "Courier New", 63.75, true, -1},
    {"CodesOut", Kind::ListBox, "", 9480, 120, 2295, 2580, "Courier New", 8.25, false, 0},
    {"OnOffLabel", Kind::Label, "", 120, 2760, 255, 1215, "", 0, false, -1},
    {"RadioOn", Kind::CommandButton, "", 480, 2760, 1335, 1215, "Comic Sans MS", 15.75, true, 1},
    {"RadioOff", Kind::CommandButton, "", 1920, 2760, 1335, 1215, "Comic Sans MS", 15.75, true, 2},
    {"FrequencyUp", Kind::CommandButton, "", 3360, 2760, 1335, 1215, "Comic Sans MS", 15.75, true, 24},
    {"FrequencyDown", Kind::CommandButton, "", 4800, 2760, 1335, 1215, "Comic Sans MS", 15.75, true, 25},
    {"Direct", Kind::CommandButton, "", 6240, 2760, 1335, 1215, "Comic Sans MS", 15.75, true, 35},
    {"Scan", Kind::CommandButton, "", 7680, 2760, 1335, 1215, "Comic Sans MS", 15.75, true, 36},
    {"ScanLabel", Kind::Label, "", 9120, 2760, 255, 1215, "", 0, false, -1},
    {"CodesIn", Kind::ListBox, "", 9480, 2760, 2295, 4050, "Courier New", 8.25, false, 38},
    {"VolumeFrame", Kind::Frame, "", 120, 4080, 3135, 855, "Comic Sans MS", 14.25, false, -1},
    {"Volume", Kind::ScrollBar, "", 240, 4560, 2895, 255, "", 0, false, 4},
    {"SquelchFrame", Kind::Frame, "", 120, 5040, 3135, 855, "Comic Sans MS", 14.25, false, -1},
    {"Squelch", Kind::ScrollBar, "SquelchFrame", 120, 480, 2895, 255, "", 0, false, 7},
    {"IfShiftFrame", Kind::Frame, "", 120, 6000, 3135, 855, "Comic Sans MS", 14.25, false, -1},
    {"IfShift", Kind::ScrollBar, "IfShiftFrame", 120, 480, 2895, 255, "", 0, false, 8},
    {"TuningStepFrame", Kind::Frame, "", 3480, 4080, 2175, 1335, "Comic Sans MS", 14.25, false, -1},
    {"TuningStep", Kind::ComboBox, "", 3600, 4680, 1935, 465, "Courier New", 15.75, false, 23},
    {"ImproveSignalFrame", Kind::Frame, "", 3480, 5520, 2175, 1335, "Comic Sans MS", 14.25, false, -1},
    {"ModeFrame", Kind::Frame, "", 5880, 4080, 1335, 2775, "Comic Sans MS", 14.25, false, -1},
    {"AM", Kind::OptionButton, "ModeFrame", 240, 360, 975, 495, "Courier New", 14.25, false, 15},
    {"FM", Kind::OptionButton, "ModeFrame", 240, 720, 975, 495, "Courier New", 14.25, false, 10},
    {"WFM", Kind::OptionButton, "ModeFrame", 240, 1080, 975, 495, "Courier New", 14.25, false, 11},
    {"USB", Kind::OptionButton, "ModeFrame", 240, 1440, 975, 495, "Courier New", 14.25, false, 12},
    {"LSB", Kind::OptionButton, "ModeFrame", 240, 1800, 975, 495, "Courier New", 14.25, false, 13},
    {"CW", Kind::OptionButton, "ModeFrame", 240, 2160, 975, 495, "Courier New", 14.25, false, 14},
    {"FilterFrame", Kind::Frame, "", 7440, 4080, 1935, 2775, "Comic Sans MS", 14.25, false, -1},
    {"Filter1", Kind::OptionButton, "FilterFrame", 240, 360, 1575, 495, "Courier New", 14.25, false, 17},
    {"Filter2", Kind::OptionButton, "FilterFrame", 240, 720, 1575, 495, "Courier New", 14.25, false, 21},
    {"Filter3", Kind::OptionButton, "FilterFrame", 240, 1080, 1575, 495, "Courier New", 14.25, false, 20},
    {"Filter4", Kind::OptionButton, "FilterFrame", 240, 1440, 1575, 495, "Courier New", 14.25, false, 19},
    {"Filter5", Kind::OptionButton, "FilterFrame", 240, 1800, 1575, 495, "Courier New", 14.25, false, 18},
};

// The switches lie over the "Improve Signal" frame, each where its row in
// the panel's table of switches puts it.
std::vector<ControlRow> Controls() {
    std::vector<ControlRow> rows(std::begin(kFixedControls), std::end(kFixedControls));
    for (const SwitchControl& box : kSwitchControls) {
        const TwipsPlace& at = box.place;
        rows.push_back({box.name, Kind::CheckBox, "", at.left, at.top, at.width, at.height, "Courier New", 14.25, false,
                        box.tab_index});
    }
    return rows;
}

bool IsKind(const QWidget* widget, Kind kind) {
    switch (kind) {
        case Kind::Label: return qobject_cast<const QLabel*>(widget) != nullptr;
        case Kind::Frame: return qobject_cast<const QGroupBox*>(widget) != nullptr;
        case Kind::CommandButton: return qobject_cast<const QToolButton*>(widget) != nullptr;
        case Kind::ListBox: return qobject_cast<const CodeListBox*>(widget) != nullptr;
        case Kind::ScrollBar: {
            const auto* bar = qobject_cast<const QScrollBar*>(widget);
            return bar && bar->orientation() == Qt::Horizontal;
        }
        case Kind::ComboBox: return qobject_cast<const QComboBox*>(widget) != nullptr;
        case Kind::OptionButton: return qobject_cast<const QRadioButton*>(widget) != nullptr;
        case Kind::CheckBox: return qobject_cast<const QCheckBox*>(widget) != nullptr;
    }
    return false;
}

class WindowLayoutTest : public ::testing::Test, public testing::WindowOnFakeLink {
protected:
    QWidget* Find(const char* name) { return window->findChild<QWidget*>(QString::fromLatin1(name)); }
    template <typename T>
    T* Find(const char* name) {
        return window->findChild<T*>(QString::fromLatin1(name));
    }
};

TEST_F(WindowLayoutTest, WindowHasItsCaptionFixedSizeAndIcon) {
    EXPECT_EQ(window->windowTitle(), "Velmo - ICOM PCR1000");
    EXPECT_EQ(window->size(), QSize(793, 466));  // 11895 x 6990 twips
    EXPECT_EQ(window->minimumSize(), window->maximumSize());
    EXPECT_FALSE(window->windowIcon().isNull());
    EXPECT_EQ(window->palette().color(QPalette::Window), QColor(192, 192, 192));
    EXPECT_EQ(window->palette().color(QPalette::WindowText), QColor(0, 0, 0));
    EXPECT_TRUE(window->autoFillBackground());
}

TEST_F(WindowLayoutTest, EveryControlHasItsKindParentPlaceAndFont) {
    for (const ControlRow& row : Controls()) {
        SCOPED_TRACE(row.name);
        QWidget* widget = Find(row.name);
        ASSERT_NE(widget, nullptr);
        EXPECT_TRUE(IsKind(widget, row.kind));
        QWidget* expected_parent = *row.parent ? Find(row.parent) : window.get();
        EXPECT_EQ(widget->parentWidget(), expected_parent);
        EXPECT_EQ(widget->geometry(), TwipsRect(row.left, row.top, row.width, row.height));
        if (*row.family) {
            EXPECT_EQ(widget->font().family(), QString::fromLatin1(row.family));
            EXPECT_DOUBLE_EQ(widget->font().pointSizeF(), row.points);
            EXPECT_EQ(widget->font().bold(), row.bold);
        }
        if (row.tab < 0) {
            EXPECT_EQ(widget->focusPolicy(), Qt::NoFocus);
        } else {
            // An option group is one Tab stop, at its selected button.
            const bool tab_stop = row.kind != Kind::OptionButton || static_cast<QAbstractButton*>(widget)->isChecked();
            EXPECT_EQ((widget->focusPolicy() & Qt::TabFocus) != 0, tab_stop);
            EXPECT_TRUE(widget->focusPolicy() & Qt::ClickFocus);
        }
    }
}

TEST_F(WindowLayoutTest, ControlsOverAFrameLieAboveIt) {
    std::vector<std::pair<const char*, const char*>> overlays = {{"Volume", "VolumeFrame"},
                                                                 {"TuningStep", "TuningStepFrame"}};
    for (const SwitchControl& box : kSwitchControls) overlays.emplace_back(box.name, "ImproveSignalFrame");
    const QObjectList& stacking = window->children();  // bottom to top
    for (const auto& [control, frame] : overlays) {
        SCOPED_TRACE(control);
        EXPECT_TRUE(Find(frame)->geometry().contains(Find(control)->geometry()));
        EXPECT_GT(stacking.indexOf(Find(control)), stacking.indexOf(Find(frame)));
    }
}

TEST_F(WindowLayoutTest, TabMovesThroughTheControlsInTabIndexOrder) {
    std::map<int, QWidget*> by_tab;
    std::set<QWidget*> focusable;
    for (const ControlRow& row : Controls()) {
        if (row.tab < 0) continue;
        by_tab[row.tab] = Find(row.name);
        focusable.insert(Find(row.name));
    }
    std::vector<QString> expected;
    for (const auto& [tab, widget] : by_tab) expected.push_back(widget->objectName());

    std::vector<QString> walked;
    QWidget* start = by_tab.begin()->second;
    QWidget* widget = start;
    do {
        if (focusable.count(widget)) walked.push_back(widget->objectName());
        widget = widget->nextInFocusChain();
    } while (widget != start && walked.size() <= expected.size());
    EXPECT_EQ(walked, expected);
}

TEST_F(WindowLayoutTest, CaptionsCarryTheirAccessKeys) {
    struct Caption {
        const char* name;
        const char* text;
        Qt::Key access_key;
    };
    const Caption buttons[] = {{"RadioOn", "&ON", Qt::Key_O},     {"RadioOff", "O&FF", Qt::Key_F},
                               {"FrequencyUp", "&UP", Qt::Key_U}, {"FrequencyDown", "&DOWN", Qt::Key_D},
                               {"Direct", "DI&RECT", Qt::Key_R},  {"Scan", "SC&AN", Qt::Key_A}};
    for (const Caption& caption : buttons) {
        SCOPED_TRACE(caption.name);
        auto* button = Find<QAbstractButton>(caption.name);
        EXPECT_EQ(button->text(), caption.text);
        EXPECT_EQ(button->shortcut(), QKeySequence(Qt::ALT | caption.access_key));
        EXPECT_FALSE(button->icon().isNull());
        EXPECT_EQ(static_cast<QToolButton*>(button)->toolButtonStyle(), Qt::ToolButtonTextUnderIcon);
    }
    const std::pair<const char*, QSize> picture_sizes[] = {{"RadioOn", {23, 23}},     {"RadioOff", {28, 28}},
                                                           {"FrequencyUp", {31, 31}}, {"FrequencyDown", {31, 31}},
                                                           {"Direct", {20, 22}},      {"Scan", {20, 22}}};
    for (const auto& [name, size] : picture_sizes) EXPECT_EQ(Find<QToolButton>(name)->iconSize(), size) << name;

    std::vector<std::pair<const char*, const char*>> others = {
        {"AM", "AM"},          {"FM", "FM"},          {"WFM", "WFM"},         {"USB", "USB"},
        {"LSB", "LSB"},        {"CW", "CW"},          {"Filter1", "2.8 KHz"}, {"Filter2", "6 KHz"},
        {"Filter3", "15 KHz"}, {"Filter4", "50 KHz"}, {"Filter5", "230 KHz"}};
    // A switch's caption is its name.
    for (const SwitchControl& box : kSwitchControls) others.emplace_back(box.name, box.name);
    for (const auto& [name, text] : others) EXPECT_EQ(Find<QAbstractButton>(name)->text(), text) << name;

    const std::pair<const char*, const char*> frames[] = {{"TuningStepFrame", "Tuning Step"},
                                                          {"ImproveSignalFrame", "Improve Signal"},
                                                          {"ModeFrame", "Mode"},
                                                          {"FilterFrame", "Filter"}};
    for (const auto& [name, text] : frames) EXPECT_EQ(Find<QGroupBox>(name)->title(), text) << name;
}

TEST_F(WindowLayoutTest, ControlsHaveTheirColours) {
    struct Colours {
        const char* name;
        QPalette::ColorRole background_role;
        QColor background;
        QPalette::ColorRole text_role;
        QColor text;
    };
    const QColor grey(192, 192, 192), black(0, 0, 0);
    const Colours rows[] = {
        {"SignalStrength", QPalette::Window, black, QPalette::WindowText, QColor(0, 0, 255)},
        {"SignalScale", QPalette::Window, black, QPalette::WindowText, QColor(255, 255, 255)},
        {"DisplayFrequency", QPalette::Window, black, QPalette::WindowText, QColor(0, 255, 255)},
        {"CodesOut", QPalette::Base, black, QPalette::Text, QColor(0, 255, 0)},
        {"CodesIn", QPalette::Base, black, QPalette::Text, QColor(0, 255, 0)},
        {"OnOffLabel", QPalette::Window, QColor(255, 0, 0), QPalette::WindowText, black},
        {"ScanLabel", QPalette::Window, QColor(255, 0, 0), QPalette::WindowText, black},
        {"TuningStep", QPalette::Base, QColor(128, 255, 255), QPalette::Text, black},
        {"RadioOn", QPalette::Button, grey, QPalette::ButtonText, black},
        {"Scan", QPalette::Button, grey, QPalette::ButtonText, black},
        {"VolumeFrame", QPalette::Window, grey, QPalette::WindowText, black},
        {"ModeFrame", QPalette::Window, grey, QPalette::WindowText, black},
        {"Volume", QPalette::Button, grey, QPalette::WindowText, black},
        {"WFM", QPalette::Window, grey, QPalette::WindowText, black},
        {"AFC", QPalette::Window, grey, QPalette::WindowText, black},
    };
    for (const Colours& row : rows) {
        SCOPED_TRACE(row.name);
        const QPalette palette = Find(row.name)->palette();
        EXPECT_EQ(palette.color(row.background_role), row.background);
        EXPECT_EQ(palette.color(row.text_role), row.text);
    }
    for (const char* label : {"SignalStrength", "SignalScale", "DisplayFrequency", "OnOffLabel", "ScanLabel"}) {
        EXPECT_TRUE(Find(label)->autoFillBackground()) << label;
    }
}

TEST_F(WindowLayoutTest, ScrollBarsRunFrom0To255InSingleSteps) {
    for (const char* name : {"Volume", "Squelch", "IfShift"}) {
        SCOPED_TRACE(name);
        auto* bar = Find<QScrollBar>(name);
        EXPECT_EQ(bar->minimum(), 0);
        EXPECT_EQ(bar->maximum(), 255);
        EXPECT_EQ(bar->singleStep(), 1);
        EXPECT_EQ(bar->pageStep(), 1);
        EXPECT_FALSE(bar->hasTracking());  // a drag changes the value once, on release
    }
}

TEST_F(WindowLayoutTest, TuningStepListsTheTwentyOneStepsUnsorted) {
    const QStringList steps = {"1 Hz",    "10 Hz",  "20 Hz",    "50 Hz",   "100 Hz",  "500 Hz",   "1 KHz",
                               "2.5 KHz", "5 KHz",  "6.25 KHz", "9 KHz",   "10 KHz",  "12.5 KHz", "20 KHz",
                               "25 KHz",  "30 KHz", "50 KHz",   "100 KHz", "500 KHz", "1 MHz",    "10 MHz"};
    auto* combo = Find<QComboBox>("TuningStep");
    ASSERT_EQ(combo->count(), steps.size());
    for (int i = 0; i < combo->count(); ++i) {
        EXPECT_EQ(combo->itemText(i), steps[i]);
        EXPECT_EQ(combo->itemData(i), QVariant(0)) << i;
    }
    EXPECT_TRUE(combo->isEditable());
    EXPECT_EQ(combo->insertPolicy(), QComboBox::NoInsert);
}

TEST_F(WindowLayoutTest, ScaleAndBarShareTheirWidthWhateverTheFont) {
    const QString scale = QStringLiteral("   0") + "          1" + "          2" + "          3" + "          4" +
                          "          5" + "          6" + "          7" + "          8" + "          9" + "      +20" +
                          "      +40" + "      +60";
    auto* scale_label = Find<QLabel>("SignalScale");
    EXPECT_EQ(scale.size(), 130);
    EXPECT_EQ(scale_label->text(), scale);

    auto* bar = Find<QLabel>("SignalStrength");
    const QString full_bar = " " + QString(75, '|');
    const qreal width = bar->contentsRect().width();
    EXPECT_NEAR(QFontMetricsF(bar->font()).horizontalAdvance(full_bar), width, 2.0);
    EXPECT_NEAR(QFontMetricsF(scale_label->font()).horizontalAdvance(scale), width, 2.0);
    EXPECT_EQ(scale_label->x(), bar->x());
    EXPECT_EQ(scale_label->width(), bar->width());
}

TEST_F(WindowLayoutTest, TheWidestFrequencyFitsItsLabel) {
    auto* display = Find<QLabel>("DisplayFrequency");
#ifdef _WIN32
    // Windows has Courier New; Wine's offscreen platform, where the tests of
    // the Windows build run, has no font at all and draws every character
    // an em wide.
    const QString family = QFontInfo(display->font()).family();
    if (family != QStringLiteral("Courier New"))
        GTEST_SKIP() << "no Courier New here, only \"" << family.toStdString() << '"';
#endif
    EXPECT_LE(QFontMetricsF(display->font()).horizontalAdvance("1300.000.000"), display->contentsRect().width());
}

TEST_F(WindowLayoutTest, StartUpHasRunBeforeTheWindowIsShown) {
    EXPECT_FALSE(window->isVisible());
    EXPECT_EQ(Find<QLabel>("DisplayFrequency")->text(), "81.300.000");
    EXPECT_EQ(Find<QLabel>("SignalStrength")->text(), " ");  // level 0, not the full bar
    EXPECT_EQ(Find<QLabel>("SignalStrength")->palette().color(QPalette::WindowText), QColor(0, 0, 255));
    EXPECT_EQ(Find<QComboBox>("TuningStep")->currentText(), "100 KHz");
    EXPECT_EQ(Find<QScrollBar>("Volume")->value(), 100);
    EXPECT_EQ(Find<QScrollBar>("Squelch")->value(), 128);
    EXPECT_EQ(Find<QScrollBar>("IfShift")->value(), 80);
    for (const char* name : {"AM", "FM", "WFM", "USB", "LSB", "CW"}) {
        EXPECT_EQ(Find<QRadioButton>(name)->isChecked(), QString(name) == "WFM") << name;
    }
    for (const char* name : {"Filter1", "Filter2", "Filter3", "Filter4", "Filter5"}) {
        EXPECT_EQ(Find<QRadioButton>(name)->isChecked(), QString(name) == "Filter5") << name;
    }
    for (const SwitchControl& box : kSwitchControls) {
        EXPECT_EQ(Find<QCheckBox>(box.name)->checkState(), Qt::Unchecked) << box.name;
    }
    for (const char* name : {"OnOffLabel", "ScanLabel"}) {
        EXPECT_EQ(Find(name)->palette().color(QPalette::Window), QColor(255, 0, 0)) << name;
    }
    EXPECT_EQ(Find<CodeListBox>("CodesOut")->Count(), 0);
    EXPECT_EQ(Find<CodeListBox>("CodesIn")->Count(), 0);
    // The level frames show their starting values.
    EXPECT_TRUE(Find<QGroupBox>("VolumeFrame")->title().contains("100"));
    EXPECT_TRUE(Find<QGroupBox>("SquelchFrame")->title().contains("128"));
    EXPECT_TRUE(Find<QGroupBox>("IfShiftFrame")->title().contains("80"));
    EXPECT_TRUE(link.writes.empty());
    EXPECT_FALSE(link.IsOpen());
    EXPECT_EQ(link.configured_port, 1);
    EXPECT_EQ(link.configured_settings, "9600,N,8,1");
    EXPECT_EQ(link.configured_input_length, 0);
}

}  // namespace
}  // namespace velmo
