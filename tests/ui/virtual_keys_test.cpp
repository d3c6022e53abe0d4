// SPDX-FileCopyrightText: 2026 The Velmo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "virtual_keys.h"

#include <gtest/gtest.h>

#include <QKeyEvent>
#include <ostream>

namespace velmo {
namespace {

struct KeyCase {
    int qt_key;
    Qt::KeyboardModifiers modifiers;
    int code;
    friend void PrintTo(const KeyCase& c, std::ostream* out) {
        *out << "Qt key 0x" << std::hex << c.qt_key << " modifiers 0x" << c.modifiers.toInt() << std::dec << " -> "
             << c.code;
    }
};

class VirtualKeysTest : public ::testing::TestWithParam<KeyCase> {};

TEST_P(VirtualKeysTest, MapsToTheWindowsCode) {
    const KeyCase& c = GetParam();
    EXPECT_EQ(VirtualKeyCode(c.qt_key, c.modifiers), c.code) << "Qt key 0x" << std::hex << c.qt_key;
}

constexpr Qt::KeyboardModifiers kNone = Qt::NoModifier;
constexpr Qt::KeyboardModifiers kKeypad = Qt::KeypadModifier;

INSTANTIATE_TEST_SUITE_P(PanelKeys, VirtualKeysTest,
                         ::testing::Values(
                             // Every key the panel acts on.
                             KeyCase{Qt::Key_Escape, kNone, 27}, KeyCase{Qt::Key_PageUp, kNone, 33},
                             KeyCase{Qt::Key_PageDown, kNone, 34}, KeyCase{Qt::Key_End, kNone, 35},
                             KeyCase{Qt::Key_Home, kNone, 36}, KeyCase{Qt::Key_Insert, kNone, 45},
                             KeyCase{Qt::Key_Delete, kNone, 46}, KeyCase{Qt::Key_Pause, kNone, 19},
                             KeyCase{Qt::Key_Control, kNone, 17}, KeyCase{Qt::Key_Shift, kNone, 16},
                             KeyCase{Qt::Key_U, kNone, 85}, KeyCase{Qt::Key_D, kNone, 68},
                             // A letter is its key whatever the case or modifiers.
                             KeyCase{Qt::Key_U, Qt::ShiftModifier, 85}, KeyCase{'d', kNone, 68},
                             KeyCase{Qt::Key_A, kNone, 65}, KeyCase{Qt::Key_Z, kNone, 90},
                             // The navigation keys of the keypad stay navigation keys.
                             KeyCase{Qt::Key_Home, kKeypad, 36}, KeyCase{Qt::Key_PageUp, kKeypad, 33},
                             KeyCase{Qt::Key_Insert, kKeypad, 45}, KeyCase{Qt::Key_Delete, kKeypad, 46}));

INSTANTIATE_TEST_SUITE_P(
    OtherKeys, VirtualKeysTest,
    ::testing::Values(KeyCase{Qt::Key_0, kNone, 48}, KeyCase{Qt::Key_9, kNone, 57}, KeyCase{Qt::Key_0, kKeypad, 96},
                      KeyCase{Qt::Key_9, kKeypad, 105}, KeyCase{Qt::Key_Exclam, Qt::ShiftModifier, 49},
                      KeyCase{Qt::Key_ParenRight, Qt::ShiftModifier, 48}, KeyCase{Qt::Key_F1, kNone, 112},
                      KeyCase{Qt::Key_F12, kNone, 123}, KeyCase{Qt::Key_Return, kNone, 13},
                      KeyCase{Qt::Key_Enter, kKeypad, 13}, KeyCase{Qt::Key_Tab, kNone, 9},
                      KeyCase{Qt::Key_Backtab, Qt::ShiftModifier, 9}, KeyCase{Qt::Key_Space, kNone, 32},
                      KeyCase{Qt::Key_Left, kNone, 37}, KeyCase{Qt::Key_Down, kNone, 40},
                      KeyCase{Qt::Key_Alt, kNone, 18}, KeyCase{Qt::Key_Backspace, kNone, 8},
                      KeyCase{Qt::Key_Minus, kNone, 189}, KeyCase{Qt::Key_Minus, kKeypad, 109},
                      KeyCase{Qt::Key_Plus, kKeypad, 107}, KeyCase{Qt::Key_Period, kNone, 190},
                      KeyCase{Qt::Key_Period, kKeypad, 110}, KeyCase{Qt::Key_Question, Qt::ShiftModifier, 191},
                      KeyCase{Qt::Key_CapsLock, kNone, 20}, KeyCase{Qt::Key_NumLock, kNone, 144},
                      // Keys without a code are 0, which the panel ignores.
                      KeyCase{Qt::Key_VolumeUp, kNone, 0}, KeyCase{Qt::Key_unknown, kNone, 0},
                      KeyCase{Qt::Key_Adiaeresis, kNone, 0}));

// Letter keys are named by the letter their layout gives when it is a Latin
// one, and otherwise by their position on a US layout. Each event carries
// what both systems report of the key: the X keycode (evdev code + 8), which
// Linux goes by, and the virtual key Windows gives it, which Windows goes by.
struct LayoutCase {
    const char* name;
    int qt_key;
    const char16_t* text;
    quint32 scan_code;
    quint32 windows_key;
    int code;
};

void PrintTo(const LayoutCase& c, std::ostream* out) { *out << c.name; }

class KeyboardLayoutTest : public ::testing::TestWithParam<LayoutCase> {};

TEST_P(KeyboardLayoutTest, MapsTheKeyEvent) {
    const LayoutCase& c = GetParam();
    const QKeyEvent event(QEvent::KeyPress, c.qt_key, Qt::NoModifier, c.scan_code, c.windows_key, 0,
                          QString::fromUtf16(c.text));
    EXPECT_EQ(VirtualKeyCode(event), c.code);
}

INSTANTIATE_TEST_SUITE_P(Layouts, KeyboardLayoutTest,
                         ::testing::Values(
                             // Russian: the U and D keys give Cyrillic letters.
                             LayoutCase{"cyrillic_ghe_on_u", 0x0413, u"\u0433", 30, 'U', 85},
                             LayoutCase{"cyrillic_ve_on_d", 0x0412, u"\u0432", 40, 'D', 68},
                             LayoutCase{"cyrillic_shifted", 0x0413, u"\u0413", 30, 'U', 85},
                             LayoutCase{"cyrillic_ya_on_z", 0x042F, u"\u044F", 52, 'Z', 90},
                             LayoutCase{"cyrillic_ef_on_a", 0x0424, u"\u0444", 38, 'A', 65},
                             LayoutCase{"cyrillic_ze_on_p", 0x0417, u"\u0437", 33, 'P', 80},
                             LayoutCase{"cyrillic_zhe_on_semicolon", 0x0416, u"\u0436", 47, 186, 0},
                             LayoutCase{"greek_theta_on_u", 0x0398, u"\u03B8", 30, 'U', 85},
                             // Latin layouts keep the letter the layout gives, wherever its key is.
                             LayoutCase{"german_z_on_the_us_y", Qt::Key_Z, u"z", 29, 'Z', 90},
                             LayoutCase{"french_a_on_the_us_q", Qt::Key_A, u"a", 24, 'A', 65},
                             LayoutCase{"french_comma_on_the_us_m", Qt::Key_Comma, u",", 58, 188, 188},
                             // Nothing to go by.
                             LayoutCase{"no_position", 0x0413, u"\u0433", 0, 0, 0},
                             LayoutCase{"no_key_no_letter_position", 0, u"", 9, 0, 0}),
                         [](const auto& param_info) { return std::string(param_info.param.name); });

}  // namespace
}  // namespace velmo
