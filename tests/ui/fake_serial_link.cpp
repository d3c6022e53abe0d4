#include "fake_serial_link.h"

#include <utility>

namespace velmo::testing {

void FakeSerialLink::Configure(int port_number, const std::string& line_settings, int length) {
    port = port_number;
    settings = line_settings;
    input_length = length;
}

void FakeSerialLink::Open() {
    ++open_calls;
    if (open_failure) throw SerialError(*open_failure);
    open_ = true;
}

void FakeSerialLink::Close() { open_ = false; }

void FakeSerialLink::Write(const std::string& text) {
    if (failing_write && *failing_write == writes.size()) throw SerialError("write failed: Input/output error");
    writes.push_back(text);
    if (const auto reply = replies.find(text); reply != replies.end()) received_ += reply->second;
    if (on_write) on_write(text);
}

std::string FakeSerialLink::ReadAll() { return std::exchange(received_, {}); }

}  // namespace velmo::testing
