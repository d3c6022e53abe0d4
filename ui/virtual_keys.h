#pragma once

#include <Qt>

namespace velmo {

// The Windows virtual-key code of a Qt key, as the panel's key table knows
// keys. Codes name physical keys: a letter gives the same code in either
// case, and a shifted symbol gives the code of its key on a US layout.
// Returns 0 for keys without a code.
int VirtualKeyCode(int qt_key, Qt::KeyboardModifiers modifiers = Qt::NoModifier);

}  // namespace velmo
