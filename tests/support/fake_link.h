// SPDX-FileCopyrightText: 2026 The Velmo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "serial_link.h"
#include "sim/wire.h"
#include "virtual_clock.h"

namespace velmo::testing {

// A serial link whose far end answers each written line from a script. On
// a virtual clock the answers come back in virtual time; without one (the
// window's tests, in real time) they are there at once. It fails the test
// loudly on a write or read while closed.
class FakeLink : public SerialLink {
public:
    FakeLink() = default;
    explicit FakeLink(VirtualClock& clock) : clock_(&clock) {}

    void Configure(int port, const std::string& settings, int input_length) override;
    void Open() override;
    void Close() override;
    bool IsOpen() const override { return open_; }
    void Write(const std::string& text) override;
    std::string ReadAll() override;

    // The far end: the answer to each complete line (without CR LF).
    std::function<std::string(const std::string& line)> responder;
    // Time from a line's last byte arriving to its answer starting back.
    std::int64_t reply_delay_us = 2000;
    // The line's own pace (the simulated receiver's model of a 9600-baud
    // line) each way; off, bytes are instant.
    bool wire_timing = false;

    // Faults: Open() throws SerialError with this text; the write with this
    // index (0 is the first) throws SerialError.
    std::string open_error;
    std::optional<std::size_t> failing_write;
    // Called after each write, once it is recorded.
    std::function<void(const std::string& text)> on_write;

    // Puts bytes into the receive buffer at a given time, as if sent by the
    // far end unasked.
    void Deliver(const std::string& bytes, std::int64_t at_us);

    // What happened.
    std::string written;
    std::vector<std::string> writes;  // each text written, line endings included
    std::vector<std::string> lines;
    std::vector<std::int64_t> line_times_us;  // when each line was written
    int configured_port = 0;
    std::string configured_settings;
    int configured_input_length = -1;
    int opens = 0;  // attempts, failed ones included
    int closes = 0;
    int reads = 0;

private:
    struct Arrival {
        std::int64_t at_us;
        char byte;
    };
    std::int64_t NowUs() const { return clock_ ? clock_->NowUs() : 0; }
    // When each of `bytes`, sent at `at`, has crossed `wire`.
    std::vector<sim::Micros> Cross(sim::Wire& wire, const std::string& bytes, sim::Micros at) const;

    VirtualClock* clock_ = nullptr;
    bool open_ = false;
    std::string partial_line_;
    sim::Wire outbound_{true};
    sim::Wire inbound_wire_{true};
    std::deque<Arrival> inbound_;
};

}  // namespace velmo::testing
