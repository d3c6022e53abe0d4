// SPDX-FileCopyrightText: 2026 The Velmo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <memory>
#include <string>

#include "port_link.h"

namespace velmo {

// The serial link on Windows, on the system's own communications calls.
//
// Reads take what the driver holds at the moment they are made, as the
// serial control the program was first written for did: Qt Serial Port on
// Windows delivers received bytes only through its events (the driver's
// "characters received" notice, then a read that completes on its own
// time), so at the end of a pause what it had delivered could lag the
// driver by a pause or two, and a scanner step grew past its tick.
//
// Writes are handed to the driver at once and do not wait for the line: a
// command of twenty characters takes 21 ms to leave at 9600 baud, longer
// than the pause that follows it. One is under way at a time, so that the
// bytes leave in order whatever the driver does with two; the next waits
// for it. Close() lets it finish first, so a last command is not cut off.
//
// The first failure of a read, a write or the device (an unplugged USB
// adapter) ends the connection: the port is closed and every later call
// throws SerialError with that first description.
class WinSerialLink final : public PortLink {
public:
    // How long Close() lets the write under way finish.
    static constexpr unsigned kCloseWaitMs = 2000;

    explicit WinSerialLink(DeviceMapping device_for_port = {});
    ~WinSerialLink() override;

    WinSerialLink(const WinSerialLink&) = delete;
    WinSerialLink& operator=(const WinSerialLink&) = delete;

    void Open() override;
    void Close() override;
    bool IsOpen() const override;
    void Write(const std::string& text) override;
    std::string ReadAll() override;

private:
    struct PendingWrite;

    // Forgets the write under way once it is done; with `wait`, waits for
    // that. Throws when it failed, or when it stalled: took twice its time
    // on the line and a second more.
    void FinishWrite(bool wait);
    // Ends the connection with the system's error `code`.
    [[noreturn]] void LoseTo(unsigned long code);
    void CloseHandles();

    void* handle_;                         // the port's HANDLE; INVALID_HANDLE_VALUE while closed
    void* read_done_ = nullptr;            // the event a read completes on
    std::string device_name_;              // as given to CreateFile
    std::unique_ptr<PendingWrite> write_;  // the write under way, if any
};

}  // namespace velmo
