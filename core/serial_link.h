// SPDX-FileCopyrightText: 2026 The Velmo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <stdexcept>
#include <string>

namespace velmo {

// A failure of the serial layer, carrying that layer's own description.
class SerialError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The one connection to the receiver. Reads never wait; writers supply
// the whole line, line ending included. Any failure throws SerialError.
class SerialLink {
public:
    virtual ~SerialLink() = default;

    // Stored for the next Open(); only called while closed.
    virtual void Configure(int port, const std::string& settings, int input_length) = 0;
    virtual void Open() = 0;
    virtual void Close() = 0;
    virtual bool IsOpen() const = 0;
    // Sends the bytes unchanged and in order.
    virtual void Write(const std::string& text) = 0;
    // Everything received and not yet read; empty when nothing has arrived.
    virtual std::string ReadAll() = 0;
};

}  // namespace velmo
