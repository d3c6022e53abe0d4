// SPDX-FileCopyrightText: 2026 The Velmo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <cstddef>
#include <ostream>
#include <string>

#include "sim/clock.h"
#include "sim/simulated_receiver.h"

namespace velmo::sim {

// Serves a simulated receiver in real time on the master side of a
// pseudo-terminal; programs talk to it through the slave side as through a
// serial port.
//
// The server keeps the slave side open itself, so the path stays valid
// between clients and the master never sees a hang-up. It watches the
// slave's opens and closes: while no client has it open, the receiver's
// answers are lost (as on a real port that is closed), and nothing stale is
// left for the next client to read. When the last client closes, whatever
// it sent that the receiver has not taken yet is forgotten too.
//
// Like a real line with flow control, the server stops reading from the
// terminal while more than kMaxBacklog bytes wait to cross the wire or to
// be read by the client, so a client that floods the terminal is slowed
// down to the line's pace and the server's memory stays flat.
class PtyServer {
public:
    static constexpr std::size_t kMaxBacklog = 4096;
    // Read from the terminal at most this much per pass, so the stop
    // descriptor is looked at between reads however fast a client writes.
    static constexpr std::size_t kReadChunk = 1024;

    // Throws std::system_error when no pseudo-terminal can be had. `log`,
    // if given, gets every line received and sent, and the port's opening
    // and closing by clients, with times in seconds since the start.
    // `observer`, if given, sees every line as the receiver takes it in or
    // answers it, on the thread that runs the server.
    explicit PtyServer(ReceiverOptions options, std::ostream* log = nullptr, SimulatedReceiver::Observer observer = {});
    ~PtyServer();
    PtyServer(const PtyServer&) = delete;
    PtyServer& operator=(const PtyServer&) = delete;

    const std::string& SlavePath() const { return slave_path_; }

    // Serves until `stop_fd` becomes readable or hangs up.
    void Run(int stop_fd);

private:
    std::size_t Backlog() const { return receiver_.Backlog() + to_client_.size(); }
    bool TakesInput();
    void ReadFromClient();
    // Hands one read of what the client wrote to the receiver; false when
    // nothing was waiting.
    bool ReadChunk();
    void FlushToClient();
    void HandleOpensAndCloses();
    void ClientsGone(bool client_waiting);
    int PollTimeoutMs() const;
    void Log(Micros at, const std::string& what) const;

    SteadyClock clock_;
    Micros started_;
    SimulatedReceiver receiver_;
    std::ostream* log_;
    int master_ = -1;
    int slave_ = -1;
    int watch_fd_ = -1;  // inotify on the slave; -1 when not available
    std::string slave_path_;
    int clients_ = 0;
    std::string to_client_;    // answers the master could not take yet
    bool input_held_ = false;  // the backlog is full: not reading the terminal
};

}  // namespace velmo::sim
