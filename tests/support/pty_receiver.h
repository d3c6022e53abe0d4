// SPDX-FileCopyrightText: 2026 The Velmo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <chrono>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "sim/simulated_receiver.h"

namespace velmo::sim {
class PtyServer;
}

namespace velmo::testing {

// The receiver's end of a serial line, played on the master side of a
// pseudo-terminal on a thread of its own, so that it answers while the
// window's thread is busy or waiting. The program under test opens Path()
// as its serial port.
//
// It is either the simulated receiver, served as velmo-sim serves it (in
// real time, at the line's own pace unless the options say otherwise), or
// a scripted answerer that answers each line at once with the pieces it is
// given. Either way it reports every line it takes in, with its time.
class PtyReceiver {
public:
    using Clock = std::chrono::steady_clock;
    struct Line {
        // The simulated receiver: when the line's last byte had crossed the
        // wire. The scripted one: when its first byte came out of the
        // terminal (there is no wire: a line usually comes in one read).
        Clock::time_point at;
        std::string text;  // without its line ending
    };
    // Called on the receiver's thread for every line, as it is taken in.
    using LineObserver = std::function<void(const Line&)>;
    // The pieces to send back for one received line; consecutive pieces
    // are written `piece_gap` apart, so a reply can be split across reads.
    using Answer = std::function<std::vector<std::string>(const std::string& line)>;

    // The simulated receiver.
    explicit PtyReceiver(sim::ReceiverOptions options, LineObserver observer = {});
    // A scripted answerer.
    explicit PtyReceiver(Answer answer, std::chrono::milliseconds piece_gap = std::chrono::milliseconds(25),
                         LineObserver observer = {});
    ~PtyReceiver();
    PtyReceiver(const PtyReceiver&) = delete;
    PtyReceiver& operator=(const PtyReceiver&) = delete;

    const std::string& Path() const { return slave_path_; }

    // Every line taken in so far.
    std::vector<Line> Received() const;
    std::vector<std::string> Lines() const;
    std::size_t LineCount() const;
    // The simulated receiver only: every answer it sent, without its line
    // ending (the scripted one's answers are the test's own).
    std::vector<std::string> Answers() const;

    // The scripted answerer only.
    void SetAnswer(Answer answer);
    // Queues bytes to be sent unasked, as fast as the line takes them.
    void Send(std::string bytes);
    // Bytes queued by Send() that have not yet left.
    std::size_t Unsent() const;
    // Every byte received so far, line endings included.
    std::string Bytes() const;
    // Bytes waiting in the slave's input queue, read by nobody yet.
    int PendingAtSlave() const;
    // A receiver that stops taking bytes in, so that the line fills up.
    void PauseReading(bool paused);
    // Stops answering and closes the master side: the slave side hangs up,
    // as when a USB serial adapter is pulled out.
    void Unplug();

private:
    void Note(Line line);
    void RunScripted();
    void Take(const char* data, std::size_t size, Clock::time_point at);
    void WriteAll(const std::string& bytes);
    void FlushQueued();
    void Stop();

    LineObserver observer_;
    std::unique_ptr<sim::PtyServer> server_;  // the simulated receiver
    int master_ = -1;                         // the scripted one's
    int slave_ = -1;                          // kept open so the path stays valid between the program's opens
    int stop_pipe_[2] = {-1, -1};
    std::string slave_path_;
    std::chrono::milliseconds piece_gap_{0};

    mutable std::mutex mutex_;
    std::vector<Line> lines_;
    std::vector<std::string> answers_;
    Answer answer_;
    std::string queued_;
    // How much of queued_ has left; a long burst is not moved up after each
    // write.
    std::size_t queued_sent_ = 0;
    bool reading_ = true;
    std::string partial_line_;
    Clock::time_point partial_started_{};
    std::string bytes_;
    std::thread thread_;
};

// Answers as the receiver does: "G000" to every command, "I1<signal>" to
// the signal query and "I0<squelch>" to the squelch query ("07": open).
PtyReceiver::Answer ReceiverAnswers(std::string signal = "80", std::string squelch = "04");

// Never answers anything.
PtyReceiver::Answer Silent();

}  // namespace velmo::testing
