#pragma once

#include <memory>
#include <mutex>
#include <streambuf>
#include <string>
#include <thread>
#include <vector>

#include "sim/pty_server.h"

namespace velmo::sim {

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
// thread of its own, as velmo-sim serves it: for tests and benchmarks that
// run the real serial port against it in the same process.
class BackgroundPtyServer {
public:
    explicit BackgroundPtyServer(ReceiverOptions options = {});
    ~BackgroundPtyServer();
    BackgroundPtyServer(const BackgroundPtyServer&) = delete;
    BackgroundPtyServer& operator=(const BackgroundPtyServer&) = delete;

    const std::string& Path() const { return server_->SlavePath(); }
    // The lines the receiver has taken in so far, without line endings.
    std::vector<std::string> Received() const;
    // The lines it has sent back so far.
    std::vector<std::string> Sent() const;

private:
    std::vector<std::string> Lines(const std::string& arrow) const;

    SharedLog log_buffer_;
    std::ostream log_{&log_buffer_};
    std::unique_ptr<PtyServer> server_;
    int stop_pipe_[2] = {-1, -1};
    std::thread thread_;
};

}  // namespace velmo::sim
