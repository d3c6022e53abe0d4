// SPDX-FileCopyrightText: 2026 The Velmo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "stack_room.h"

#include <QtGlobal>
#include <algorithm>
#include <climits>

#if defined(Q_OS_LINUX)
#include <sys/resource.h>
#endif

namespace velmo {

long MakeRoomForNestedEvents() {
#if defined(Q_OS_LINUX)
    // The main thread's stack grows on demand up to the current limit; the
    // system keeps at least 128 MB free below it for that.
    constexpr rlim_t kRoom = rlim_t{128} << 20;
    rlimit limit{};
    if (getrlimit(RLIMIT_STACK, &limit) != 0) return 0;
    if (limit.rlim_cur != RLIM_INFINITY && limit.rlim_cur < kRoom) {
        const rlim_t wanted = limit.rlim_max == RLIM_INFINITY ? kRoom : std::min(kRoom, limit.rlim_max);
        if (wanted > limit.rlim_cur) {
            limit.rlim_cur = wanted;
            if (setrlimit(RLIMIT_STACK, &limit) != 0) (void)getrlimit(RLIMIT_STACK, &limit);
        }
    }
    return limit.rlim_cur == RLIM_INFINITY ? LONG_MAX : static_cast<long>(limit.rlim_cur);
#else
    return 0;
#endif
}

}  // namespace velmo
