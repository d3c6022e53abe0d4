// SPDX-FileCopyrightText: 2026 The Velmo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

namespace velmo {

// Every event handled during a pause runs inside that pause, so a key held
// down while each exchange waits its longest (a receiver that trickles bytes
// without ending a line) nests one press inside the other, some kilobytes of
// stack each: 6,000 presses need more than the usual 8 MB. Lets the main
// thread's stack grow to 128 MB where the system allows it; call it first
// thing in main(). Returns the stack size now allowed, in bytes; 0 where
// the platform leaves it alone.
long MakeRoomForNestedEvents();

}  // namespace velmo
