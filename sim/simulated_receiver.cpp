// SPDX-FileCopyrightText: 2026 The Velmo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "sim/simulated_receiver.h"

#include <algorithm>

namespace velmo::sim {

namespace {

// A lone CR ends its line after the time an LF behind it would have taken.
Micros CrGrace(bool wire_timing) { return wire_timing ? Wire::ArrivalOf(Micros{0}, 1) : Micros{0}; }

std::string_view WithoutLineEnd(std::string_view text) {
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r')) text.remove_suffix(1);
    return text;
}

void KeepEarliest(std::optional<Micros>& earliest, std::optional<Micros> candidate) {
    if (candidate && (!earliest || *candidate < *earliest)) earliest = candidate;
}

}  // namespace

SimulatedReceiver::SimulatedReceiver(ReceiverOptions options)
    : model_(SignalModel(std::move(options.band), options.seed)),
      to_receiver_(options.wire_timing),
      from_receiver_(options.wire_timing),
      framer_(CrGrace(options.wire_timing)),
      latency_(options.latency),
      jitter_(std::max(options.jitter, Micros{0})),
      double_last_(options.double_last),
      line_end_(options.line_end),
      // Apart from the band noise's own use of the seed.
      answer_faults_(options.seed ^ 0x5eed'd0b1e'1a57ULL),
      answer_delays_(options.seed ^ 0x1a7e'0d1e'5eedULL) {}

bool SimulatedReceiver::DoubleThisAnswer() {
    // 53 random bits as a fraction in [0, 1), the same on every platform.
    const double draw = static_cast<double>(answer_faults_() >> 11) * 0x1.0p-53;
    return draw < double_last_;
}

Micros SimulatedReceiver::JitterOfThisAnswer() {
    // No draw without jitter, so the default run is the one it always was.
    if (jitter_ <= Micros{0}) return Micros{0};
    // Modulo rather than a std distribution, whose results differ between
    // standard libraries; the bias is below one part in 10^12.
    const auto span = static_cast<std::uint64_t>(jitter_.count()) + 1;
    return Micros{static_cast<Micros::rep>(answer_delays_() % span)};
}

void SimulatedReceiver::Write(std::string_view bytes, Micros now) {
    CatchUp(now);
    to_receiver_.Send(bytes, now);
}

std::string SimulatedReceiver::Read(Micros now) {
    CatchUp(now);
    return from_receiver_.TakeArrived(now);
}

std::optional<Micros> SimulatedReceiver::NextDue() const {
    std::optional<Micros> due;
    KeepEarliest(due, to_receiver_.NextArrival());
    KeepEarliest(due, framer_.Deadline());
    if (!answers_.empty()) KeepEarliest(due, answers_.front().due);
    KeepEarliest(due, from_receiver_.NextArrival());
    return due;
}

std::size_t SimulatedReceiver::Backlog() const {
    std::size_t bytes = to_receiver_.BytesInFlight() + framer_.Pending() + from_receiver_.BytesInFlight();
    for (const auto& answer : answers_) bytes += answer.text.size();
    return bytes;
}

void SimulatedReceiver::HostGone(Micros now) {
    CatchUp(now);
    while (to_receiver_.NextArrival()) {
        if (auto line = framer_.Feed(to_receiver_.PopFront(), now)) TakeLine(*line);
    }
    if (auto line = framer_.ExpireBy(Micros::max())) TakeLine(*line);
    to_receiver_.Clear();
    framer_.Clear();
    answers_.clear();
    from_receiver_.Clear();
}

void SimulatedReceiver::Emit(Direction direction, Micros at, std::string_view text) const {
    if (observer_) observer_(at, direction, text);
}

void SimulatedReceiver::TakeLine(const ReceivedLine& line) {
    Emit(Direction::ToReceiver, line.at, line.text);
    std::string answer = WithLineEnd(model_.Answer(line.text, line.at), line_end_);
    if (answer.empty() || never_answer_) return;
    if (DoubleThisAnswer()) {
        const auto last = answer.find_last_not_of("\r\n");
        if (last != std::string::npos) answer.insert(last, 1, answer[last]);
    }
    // Answers leave in the order their commands arrived, even if the
    // latency was shortened in between or this answer drew less jitter.
    Micros due = line.at + latency_ + JitterOfThisAnswer();
    if (!answers_.empty()) due = std::max(due, answers_.back().due);
    answers_.push_back({due, std::move(answer)});
}

// Runs everything due up to `now` in time order: bytes reaching the
// receiver, lone CRs running out of grace, and answers leaving it.
void SimulatedReceiver::CatchUp(Micros now) {
    for (;;) {
        const auto byte_at = to_receiver_.NextArrival();
        const auto cr_deadline = framer_.Deadline();
        const std::optional<Micros> answer_at =
            answers_.empty() ? std::nullopt : std::optional<Micros>(answers_.front().due);

        std::optional<Micros> next;
        KeepEarliest(next, byte_at);
        KeepEarliest(next, cr_deadline);
        KeepEarliest(next, answer_at);
        if (!next || *next > now) return;

        if (answer_at && *answer_at == *next) {
            const PendingAnswer answer = std::move(answers_.front());
            answers_.pop_front();
            Emit(Direction::FromReceiver, answer.due, WithoutLineEnd(answer.text));
            from_receiver_.Send(answer.text, answer.due);
        } else if (byte_at && *byte_at == *next) {
            // A CR whose grace ends before this byte stood alone.
            if (auto line = framer_.ExpireBefore(*byte_at)) TakeLine(*line);
            const char byte = to_receiver_.PopFront();
            if (auto line = framer_.Feed(byte, *byte_at)) TakeLine(*line);
        } else if (auto line = framer_.ExpireBy(*next)) {
            TakeLine(*line);
        }
    }
}

}  // namespace velmo::sim
