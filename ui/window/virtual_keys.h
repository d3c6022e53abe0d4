// SPDX-FileCopyrightText: 2026 The Velmo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QKeyEvent>
#include <Qt>

namespace velmo {

// The Windows virtual-key code of a Qt key, as the panel's key table knows
// keys. Codes name physical keys: a letter gives the same code in either
// case, and a shifted symbol gives the code of its key on a US layout.
// Returns 0 for keys without a code.
int VirtualKeyCode(int qt_key, Qt::KeyboardModifiers modifiers = Qt::NoModifier);

// The code of a key press. A key whose layout gives a Latin letter is that
// letter's key; one that gives no key of the table above (a letter of
// another script) is named by its position, the letter key in its place on
// a US layout, as the platform's own virtual-key codes do.
int VirtualKeyCode(const QKeyEvent& event);

// The letter key ('A' to 'Z') at the position of a key, from the event's
// native codes, or 0 when the key is no letter key of a US layout.
int LetterAtKeyPosition(quint32 native_scan_code, quint32 native_virtual_key);

}  // namespace velmo
