#pragma once

#include <memory>
#include <mutex>
#include <streambuf>
#include <string>
#include <thread>
#include <vector>

#include "sim/pty_server.h"

namespace velmo::e2e {

// A log that the server thread writes and the test reads while it runs.
class SharedLog : public std::streambuf {
public:
    std::string Text() const;

protected:
    int overflow(int c) override;
    std::streamsize xsputn(const char* s, std::streamsize n) override;

private:
    mutable std::mutex mutex_;
    std::string text_;
};

// The simulated receiver served in real time on a pseudo-terminal, on a
// thread of its own, as velmo-sim serves it.
class SimOnPty {
public:
    explicit SimOnPty(sim::ReceiverOptions options = {});
    ~SimOnPty();
    SimOnPty(const SimOnPty&) = delete;
    SimOnPty& operator=(const SimOnPty&) = delete;

    const std::string& Path() const { return server_->SlavePath(); }
    // The lines the receiver has taken in so far, without line endings.
    std::vector<std::string> Received() const;
    // The lines it has sent back so far.
    std::vector<std::string> Sent() const;

private:
    std::vector<std::string> Lines(const std::string& arrow) const;

    SharedLog log_buffer_;
    std::ostream log_{&log_buffer_};
    std::unique_ptr<sim::PtyServer> server_;
    int stop_pipe_[2] = {-1, -1};
    std::thread thread_;
};

}  // namespace velmo::e2e
