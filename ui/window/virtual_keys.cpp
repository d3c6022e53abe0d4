// SPDX-FileCopyrightText: 2026 The Velmo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "virtual_keys.h"

#include <array>
#include <string_view>
#include <utility>

namespace velmo {
namespace {

using KeyPair = std::pair<int, int>;  // Qt key, virtual-key code

constexpr std::array kNamedKeys{
    KeyPair{Qt::Key_Backspace, 8},
    KeyPair{Qt::Key_Tab, 9},
    KeyPair{Qt::Key_Backtab, 9},
    KeyPair{Qt::Key_Clear, 12},
    KeyPair{Qt::Key_Return, 13},
    KeyPair{Qt::Key_Enter, 13},
    KeyPair{Qt::Key_Shift, 16},
    KeyPair{Qt::Key_Control, 17},
    KeyPair{Qt::Key_Alt, 18},
    KeyPair{Qt::Key_AltGr, 18},
    KeyPair{Qt::Key_Pause, 19},
    KeyPair{Qt::Key_CapsLock, 20},
    KeyPair{Qt::Key_Escape, 27},
    KeyPair{Qt::Key_Space, 32},
    KeyPair{Qt::Key_PageUp, 33},
    KeyPair{Qt::Key_PageDown, 34},
    KeyPair{Qt::Key_End, 35},
    KeyPair{Qt::Key_Home, 36},
    KeyPair{Qt::Key_Left, 37},
    KeyPair{Qt::Key_Up, 38},
    KeyPair{Qt::Key_Right, 39},
    KeyPair{Qt::Key_Down, 40},
    KeyPair{Qt::Key_Select, 41},
    KeyPair{Qt::Key_Printer, 42},
    KeyPair{Qt::Key_Execute, 43},
    KeyPair{Qt::Key_Print, 44},
    KeyPair{Qt::Key_Insert, 45},
    KeyPair{Qt::Key_Delete, 46},
    KeyPair{Qt::Key_Help, 47},
    KeyPair{Qt::Key_Meta, 91},
    KeyPair{Qt::Key_Menu, 93},
    KeyPair{Qt::Key_Sleep, 95},
    KeyPair{Qt::Key_NumLock, 144},
    KeyPair{Qt::Key_ScrollLock, 145},
    // Punctuation by the key it sits on (US layout), shifted or not.
    KeyPair{Qt::Key_Semicolon, 186},
    KeyPair{Qt::Key_Colon, 186},
    KeyPair{Qt::Key_Equal, 187},
    KeyPair{Qt::Key_Plus, 187},
    KeyPair{Qt::Key_Comma, 188},
    KeyPair{Qt::Key_Less, 188},
    KeyPair{Qt::Key_Minus, 189},
    KeyPair{Qt::Key_Underscore, 189},
    KeyPair{Qt::Key_Period, 190},
    KeyPair{Qt::Key_Greater, 190},
    KeyPair{Qt::Key_Slash, 191},
    KeyPair{Qt::Key_Question, 191},
    KeyPair{Qt::Key_QuoteLeft, 192},
    KeyPair{Qt::Key_AsciiTilde, 192},
    KeyPair{Qt::Key_BracketLeft, 219},
    KeyPair{Qt::Key_BraceLeft, 219},
    KeyPair{Qt::Key_Backslash, 220},
    KeyPair{Qt::Key_Bar, 220},
    KeyPair{Qt::Key_BracketRight, 221},
    KeyPair{Qt::Key_BraceRight, 221},
    KeyPair{Qt::Key_Apostrophe, 222},
    KeyPair{Qt::Key_QuoteDbl, 222},
    // Shifted digits: the digit key's own code.
    KeyPair{Qt::Key_Exclam, '1'},
    KeyPair{Qt::Key_At, '2'},
    KeyPair{Qt::Key_NumberSign, '3'},
    KeyPair{Qt::Key_Dollar, '4'},
    KeyPair{Qt::Key_Percent, '5'},
    KeyPair{Qt::Key_AsciiCircum, '6'},
    KeyPair{Qt::Key_Ampersand, '7'},
    KeyPair{Qt::Key_Asterisk, '8'},
    KeyPair{Qt::Key_ParenLeft, '9'},
    KeyPair{Qt::Key_ParenRight, '0'},
};

// Keys of the numeric keypad that have codes of their own there.
constexpr std::array kKeypadKeys{
    KeyPair{Qt::Key_Asterisk, 106}, KeyPair{Qt::Key_Plus, 107},  KeyPair{Qt::Key_Minus, 109},
    KeyPair{Qt::Key_Period, 110},   KeyPair{Qt::Key_Comma, 110}, KeyPair{Qt::Key_Slash, 111},
};

#if defined(Q_OS_UNIX) && !defined(Q_OS_DARWIN)
// The rows of letter keys on a US layout, by X keycode (the Linux input
// code plus 8, on X11 and Wayland alike) of each row's first key. Windows
// gives the letter by position itself.
struct LetterRow {
    quint32 first_keycode;
    std::string_view letters;
};
constexpr std::array kLetterRows{
    LetterRow{24, "QWERTYUIOP"},
    LetterRow{38, "ASDFGHJKL"},
    LetterRow{52, "ZXCVBNM"},
};
#endif

int Find(const auto& table, int qt_key) {
    for (const auto& [key, code] : table) {
        if (key == qt_key) return code;
    }
    return 0;
}

}  // namespace

int VirtualKeyCode(int qt_key, Qt::KeyboardModifiers modifiers) {
    const bool keypad = modifiers.testFlag(Qt::KeypadModifier);
    if (qt_key >= Qt::Key_0 && qt_key <= Qt::Key_9) {
        const int digit = qt_key - Qt::Key_0;
        return keypad ? 96 + digit : '0' + digit;
    }
    if (qt_key >= Qt::Key_A && qt_key <= Qt::Key_Z) return qt_key;
    if (qt_key >= 'a' && qt_key <= 'z') return qt_key - 'a' + 'A';
    if (qt_key >= Qt::Key_F1 && qt_key <= Qt::Key_F24) return 112 + (qt_key - Qt::Key_F1);
    if (keypad) {
        if (const int code = Find(kKeypadKeys, qt_key)) return code;
    }
    return Find(kNamedKeys, qt_key);
}

int LetterAtKeyPosition(quint32 native_scan_code, quint32 native_virtual_key) {
#if defined(Q_OS_WIN)
    // Windows names the letter keys of a non-Latin layout by position itself.
    (void)native_scan_code;
    return native_virtual_key >= 'A' && native_virtual_key <= 'Z' ? static_cast<int>(native_virtual_key) : 0;
#elif defined(Q_OS_UNIX) && !defined(Q_OS_DARWIN)
    (void)native_virtual_key;
    for (const auto& row : kLetterRows) {
        if (native_scan_code >= row.first_keycode && native_scan_code - row.first_keycode < row.letters.size()) {
            return row.letters[native_scan_code - row.first_keycode];
        }
    }
    return 0;
#else
    (void)native_scan_code;
    (void)native_virtual_key;
    return 0;
#endif
}

int VirtualKeyCode(const QKeyEvent& event) {
    if (const int code = VirtualKeyCode(event.key(), event.modifiers())) return code;
    return LetterAtKeyPosition(event.nativeScanCode(), event.nativeVirtualKey());
}

}  // namespace velmo
