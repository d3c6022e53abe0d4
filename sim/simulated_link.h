// SPDX-FileCopyrightText: 2026 The Velmo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <optional>
#include <string>

#include "serial_link.h"
#include "sim/clock.h"
#include "sim/simulated_receiver.h"

namespace velmo::sim {

// The front panel's serial link with a simulated receiver on the far end,
// in the same process and on the caller's clock. Open and Close are the
// port's state only: the receiver is switched on and off by its commands.
// Bytes that reach this end while the port is closed are lost, as on a
// real port.
class SimulatedLink : public velmo::SerialLink {
public:
    explicit SimulatedLink(const Clock& clock, ReceiverOptions options = {});

    void Configure(int port, const std::string& settings, int input_length) override;
    void Open() override;
    void Close() override;
    bool IsOpen() const override { return open_; }
    void Write(const std::string& text) override;
    std::string ReadAll() override;

    // Faults.
    // The next Open() throws SerialError with this description (until
    // cleared with nullopt), as a missing or busy port does.
    void SetOpenError(std::optional<std::string> description) { open_error_ = std::move(description); }
    // The receiver takes commands but never answers.
    void SetNeverAnswer(bool never) { receiver_.SetNeverAnswer(never); }

    // When the next byte or event falls due on the line, for drivers of
    // virtual time that want to stop there.
    std::optional<Micros> NextDue() const { return receiver_.NextDue(); }

    SimulatedReceiver& Receiver() { return receiver_; }
    // The receiver as of the clock's now.
    const ReceiverModel& Model() {
        receiver_.AdvanceTo(clock_.Now());
        return receiver_.Model();
    }

    int port() const { return port_; }
    const std::string& settings() const { return settings_; }
    int input_length() const { return input_length_; }

private:
    const Clock& clock_;
    SimulatedReceiver receiver_;
    bool open_ = false;
    std::optional<std::string> open_error_;
    int port_ = 0;
    std::string settings_;
    int input_length_ = 0;
};

}  // namespace velmo::sim
