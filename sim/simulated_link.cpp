// SPDX-FileCopyrightText: 2026 The Velmo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "sim/simulated_link.h"

namespace velmo::sim {

SimulatedLink::SimulatedLink(const Clock& clock, ReceiverOptions options)
    : clock_(clock), receiver_(std::move(options)) {}

void SimulatedLink::Configure(int port, const std::string& settings, int input_length) {
    if (open_) throw SerialError("simulated port: cannot be configured while open");
    port_ = port;
    settings_ = settings;
    input_length_ = input_length;
}

void SimulatedLink::Open() {
    if (open_) throw SerialError("simulated port: already open");
    if (open_error_) throw SerialError(*open_error_);
    // Whatever arrived while the port was closed was never received.
    receiver_.Read(clock_.Now());
    open_ = true;
}

void SimulatedLink::Close() {
    if (!open_) throw SerialError("simulated port: not open");
    open_ = false;
}

void SimulatedLink::Write(const std::string& text) {
    if (!open_) throw SerialError("simulated port: write while closed");
    receiver_.Write(text, clock_.Now());
}

std::string SimulatedLink::ReadAll() {
    if (!open_) throw SerialError("simulated port: read while closed");
    return receiver_.Read(clock_.Now());
}

}  // namespace velmo::sim
