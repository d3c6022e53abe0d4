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
    if (!open_error.empty()) throw SerialError(open_error);
    open_ = true;
    ++opens;
}

void FakeLink::Close() {
    if (!open_) throw std::logic_error("closed twice");
    open_ = false;
    ++closes;
}

void FakeLink::Write(const std::string& text) {
    if (!open_) throw std::logic_error("write on a closed port: " + text);
    written += text;
    const double now = static_cast<double>(clock_.Now());
    for (const char c : text) {
        double arrived = now;
        if (wire_timing) {
            outbound_free_us_ = std::max(outbound_free_us_, now) + kByteTimeUs;
            arrived = outbound_free_us_;
        }
        if (c == '\n') {
            std::string line = partial_line_;
            if (!line.empty() && line.back() == '\r') line.pop_back();
            partial_line_.clear();
            lines.push_back(line);
            line_times_us.push_back(clock_.Now());
            if (responder) {
                const std::string answer = responder(line);
                if (!answer.empty()) Deliver(answer, static_cast<std::int64_t>(arrived) + reply_delay_us);
            }
        } else {
            partial_line_.push_back(c);
        }
    }
}

void FakeLink::Deliver(const std::string& bytes, std::int64_t at_us) {
    double t = static_cast<double>(at_us);
    for (const char c : bytes) {
        if (wire_timing) {
            inbound_free_us_ = std::max(inbound_free_us_, t) + kByteTimeUs;
            t = inbound_free_us_;
        }
        inbound_.push_back({static_cast<std::int64_t>(t), c});
    }
    std::stable_sort(inbound_.begin(), inbound_.end(),
                     [](const Arrival& a, const Arrival& b) { return a.at_us < b.at_us; });
}

std::string FakeLink::ReadAll() {
    if (!open_) throw std::logic_error("read on a closed port");
    ++reads;
    std::string text;
    while (!inbound_.empty() && inbound_.front().at_us <= clock_.Now()) {
        text.push_back(inbound_.front().byte);
        inbound_.pop_front();
    }
    return text;
}

}  // namespace velmo::testing
