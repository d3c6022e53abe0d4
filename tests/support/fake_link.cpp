// SPDX-FileCopyrightText: 2026 The Velmo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "fake_link.h"

#include <algorithm>
#include <stdexcept>

namespace velmo::testing {

void FakeLink::Configure(int port, const std::string& settings, int input_length) {
    if (open_) throw std::logic_error("configured while open");
    configured_port = port;
    configured_settings = settings;
    configured_input_length = input_length;
}

void FakeLink::Open() {
    if (open_) throw std::logic_error("opened twice");
    ++opens;
    if (!open_error.empty()) throw SerialError(open_error);
    open_ = true;
}

void FakeLink::Close() {
    if (!open_) throw std::logic_error("closed twice");
    open_ = false;
    ++closes;
}

std::vector<sim::Micros> FakeLink::Cross(sim::Wire& wire, const std::string& bytes, sim::Micros at) const {
    if (!wire_timing) return std::vector<sim::Micros>(bytes.size(), at);
    wire.Send(bytes, at);
    std::vector<sim::Micros> arrivals;
    while (const auto arrival = wire.NextArrival()) {
        arrivals.push_back(*arrival);
        wire.PopFront();
    }
    return arrivals;
}

void FakeLink::Write(const std::string& text) {
    if (!open_) throw std::logic_error("write on a closed port: " + text);
    if (failing_write && *failing_write == writes.size()) throw SerialError("write failed: Input/output error");
    written += text;
    writes.push_back(text);
    const auto arrivals = Cross(outbound_, text, sim::Micros{NowUs()});
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '\n') {
            std::string line = partial_line_;
            if (!line.empty() && line.back() == '\r') line.pop_back();
            partial_line_.clear();
            lines.push_back(line);
            line_times_us.push_back(NowUs());
            if (responder) {
                const std::string answer = responder(line);
                if (!answer.empty()) Deliver(answer, arrivals[i].count() + reply_delay_us);
            }
        } else {
            partial_line_.push_back(c);
        }
    }
    if (on_write) on_write(text);
}

void FakeLink::Deliver(const std::string& bytes, std::int64_t at_us) {
    const auto arrivals = Cross(inbound_wire_, bytes, sim::Micros{at_us});
    for (std::size_t i = 0; i < bytes.size(); ++i) inbound_.push_back({arrivals[i].count(), bytes[i]});
    std::stable_sort(inbound_.begin(), inbound_.end(),
                     [](const Arrival& a, const Arrival& b) { return a.at_us < b.at_us; });
}

std::string FakeLink::ReadAll() {
    if (!open_) throw std::logic_error("read on a closed port");
    ++reads;
    std::string text;
    // Without a clock nothing is ever on its way: it has all come.
    while (!inbound_.empty() && (!clock_ || inbound_.front().at_us <= NowUs())) {
        text.push_back(inbound_.front().byte);
        inbound_.pop_front();
    }
    return text;
}

}  // namespace velmo::testing
