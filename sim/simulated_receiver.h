// SPDX-FileCopyrightText: 2026 The Velmo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <optional>
#include <random>
#include <string>
#include <string_view>

#include "sim/band.h"
#include "sim/clock.h"
#include "sim/line_end.h"
#include "sim/line_framer.h"
#include "sim/receiver_model.h"
#include "sim/wire.h"

namespace velmo::sim {

struct ReceiverOptions {
    std::uint64_t seed = 1;
    // From the last byte of a command to the first byte of its answer.
    Micros latency{3'000};
    // Each answer's latency is longer by a random amount from 0 to this,
    // drawn from a generator seeded with `seed`, as across a network; an
    // answer still never leaves before the one ahead of it, as on TCP.
    Micros jitter{0};
    // False: bytes cross the line instantly and only the latency remains.
    bool wire_timing = true;
    Band band = Band::Default();
    // The chance that an answer repeats its last character before the line
    // end ("G0000" CR LF), as some units are reported to do now and then.
    // Drawn for every answer from a generator seeded with `seed`.
    double double_last = 0.0;
    // How each answer ends on the line.
    LineEnd line_end = LineEnd::CrLf;
};

// The receiver at the far end of a 9600-baud line: bytes written at the
// host end cross the wire, reach the model, and its answers cross back.
// Nothing runs by itself: every call catches up to the time it is given,
// and the results depend only on those times, never on how often it is
// asked. Times given must not go backwards.
class SimulatedReceiver {
public:
    enum class Direction { ToReceiver, FromReceiver };
    // Sees every line the receiver takes in and every answer it sends,
    // without line endings, at the time it happens.
    using Observer = std::function<void(Micros, Direction, std::string_view)>;

    explicit SimulatedReceiver(ReceiverOptions options = {});

    // Bytes the host sends at `now`.
    void Write(std::string_view bytes, Micros now);
    // Bytes that have reached the host by `now`, each returned once.
    std::string Read(Micros now);
    // Runs everything due by `now` without reading; Read and Write do this
    // themselves.
    void AdvanceTo(Micros now) { CatchUp(now); }
    // The next moment at which something is due to happen, if anything is
    // pending; a real-time driver sleeps until then.
    std::optional<Micros> NextDue() const;

    // Bytes on their way to the receiver, a line begun, and answers not yet
    // delivered: what a real-time driver must not let grow without bound.
    std::size_t Backlog() const;
    // The host end has closed the line. What it sent still reaches the
    // receiver, at once (a serial port that is closed first sends what it
    // holds); a line left unfinished is dropped, and every answer not yet
    // delivered is lost, as nobody is there to read it.
    void HostGone(Micros now);

    // Fault: the receiver takes commands in but never answers.
    void SetNeverAnswer(bool never) { never_answer_ = never; }
    void SetLatency(Micros latency) { latency_ = latency; }
    void SetObserver(Observer observer) { observer_ = std::move(observer); }

    // The receiver as of the last time given.
    const ReceiverModel& Model() const { return model_; }

private:
    void CatchUp(Micros now);
    void TakeLine(const ReceivedLine& line);
    // True with the chance `double_last_`.
    bool DoubleThisAnswer();
    // From 0 to `jitter_`, a new draw for every answer.
    Micros JitterOfThisAnswer();
    void Emit(Direction direction, Micros at, std::string_view text) const;

    ReceiverModel model_;
    Wire to_receiver_;
    Wire from_receiver_;
    LineFramer framer_;
    Micros latency_;
    Micros jitter_;
    bool never_answer_ = false;
    double double_last_;
    LineEnd line_end_;
    std::mt19937_64 answer_faults_;
    // Its own generator, so that jitter leaves the doubled answers as they were.
    std::mt19937_64 answer_delays_;
    Observer observer_;

    struct PendingAnswer {
        Micros due;
        std::string text;
    };
    std::deque<PendingAnswer> answers_;
};

}  // namespace velmo::sim
