// SPDX-FileCopyrightText: 2026 The Velmo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "window_sampler.h"

namespace velmo::testing {

Sampler::Sampler(const WindowDriver& user) {
    clock_.start();
    QObject::connect(&timer_, &QTimer::timeout, [this, &user] {
        samples.push_back({clock_.elapsed(), user.Display(), user.SignalBar()});
    });
    timer_.start(20);
}

std::optional<Sampler::Stay> Sampler::FirstStayAt(const std::string& display) const {
    std::optional<qint64> arrived;
    for (const auto& s : samples) {
        if (!arrived && s.display == display) arrived = s.at_ms;
        if (arrived && s.display != display) return Stay{*arrived, s.at_ms};
    }
    return std::nullopt;
}

}  // namespace velmo::testing
