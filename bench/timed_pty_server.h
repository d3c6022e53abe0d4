#pragma once

#include <atomic>
#include <cstdint>
#include <memory>
#include <mutex>
#include <streambuf>
#include <string>
#include <thread>
#include <vector>

#include "sim/pty_server.h"
#include "sim/scan_report.h"

namespace velmo::bench {

// The simulated receiver served on a pseudo-terminal on a thread of its
// own, like sim::BackgroundPtyServer, keeping the receiver-clock time of
// every line it takes in, which judging a scanner pass needs.
class TimedPtyServer {
public:
    explicit TimedPtyServer(sim::ReceiverOptions options);
    ~TimedPtyServer();
    TimedPtyServer(const TimedPtyServer&) = delete;
    TimedPtyServer& operator=(const TimedPtyServer&) = delete;

    const std::string& Path() const { return server_->SlavePath(); }
    // Lines taken in so far, without line endings, at their times on the
    // receiver's (steady) clock.
    std::vector<sim::ObservedLine> Received() const;
    std::size_t ReceivedCount() const;
    // The frequency of the newest tuning command, 0 before the first.
    std::int64_t LastTuningHz() const { return last_tuning_hz_.load(); }

private:
    // Turns the server's log ("<seconds> <- TEXT") back into lines and times.
    class LineLog : public std::streambuf {
    public:
        explicit LineLog(TimedPtyServer& owner) : owner_(owner) {}

    protected:
        int overflow(int c) override;

    private:
        TimedPtyServer& owner_;
        std::string line_;
    };
    void TakeLogLine(const std::string& line);

    sim::Micros origin_;  // the server's time 0 on the steady clock
    mutable std::mutex mutex_;
    std::vector<sim::ObservedLine> received_;
    std::atomic<std::int64_t> last_tuning_hz_{0};
    LineLog log_buffer_{*this};
    std::ostream log_{&log_buffer_};
    std::unique_ptr<sim::PtyServer> server_;
    int stop_pipe_[2] = {-1, -1};
    std::thread thread_;
};

}  // namespace velmo::bench
