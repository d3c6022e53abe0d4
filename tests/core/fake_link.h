#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "serial_link.h"
#include "virtual_clock.h"

namespace velmo::testing {

// A serial link whose far end answers each written line from a script, in
// virtual time. It fails the test loudly on a write or read while closed.
class FakeLink : public SerialLink {
public:
    explicit FakeLink(VirtualClock& clock) : clock_(clock) {}

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
    // At 9600 baud 8N1 a byte takes 1/960 s each way; off, bytes are instant.
    bool wire_timing = false;
    // Makes Open() throw SerialError with this text.
    std::string open_error;

    // Puts bytes into the receive buffer at a given time, as if sent by the
    // far end unasked.
    void Deliver(const std::string& bytes, std::int64_t at_us);

    // What happened.
    std::string written;
    std::vector<std::string> lines;
    std::vector<std::int64_t> line_times_us;  // when each line was written
    int configured_port = 0;
    std::string configured_settings;
    int configured_input_length = -1;
    int opens = 0;
    int closes = 0;
    int reads = 0;

private:
    struct Arrival {
        std::int64_t at_us;
        char byte;
    };
    VirtualClock& clock_;
    bool open_ = false;
    std::string partial_line_;
    double outbound_free_us_ = 0;
    double inbound_free_us_ = 0;
    std::deque<Arrival> inbound_;
};

// At 9600 baud, 8 data bits, 1 start and 1 stop bit.
inline constexpr double kByteTimeUs = 1'000'000.0 / 960.0;

}  // namespace velmo::testing
