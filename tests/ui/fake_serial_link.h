#pragma once

#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "serial_link.h"

namespace velmo::testing {

// A serial link that records what the window writes and answers from a
// script. Failures can be scripted for Open() and for the n-th Write().
class FakeSerialLink final : public SerialLink {
public:
    void Configure(int port, const std::string& settings, int input_length) override;
    void Open() override;
    void Close() override;
    bool IsOpen() const override { return open_; }
    void Write(const std::string& text) override;
    std::string ReadAll() override;

    // Every text written, in order, line endings included.
    std::vector<std::string> writes;
    int port = 0;
    std::string settings;
    int input_length = -1;
    int open_calls = 0;

    // Received text that follows the write of the given line.
    std::map<std::string, std::string> replies;
    std::optional<std::string> open_failure;
    // Fails the write with this index (0 is the first write).
    std::optional<std::size_t> failing_write;
    // Called after each write, once it is recorded.
    std::function<void(const std::string&)> on_write;

private:
    bool open_ = false;
    std::string received_;
};

}  // namespace velmo::testing
