#include "timed_pty_server.h"

#include <unistd.h>

#include <cstdlib>
#include <system_error>

namespace velmo::bench {

TimedPtyServer::TimedPtyServer(sim::ReceiverOptions options)
    // The server reads its start from the same clock a moment later; the
    // few microseconds between do not matter to stations that are on the
    // air for seconds.
    : origin_(sim::SteadyClock().Now()), server_(std::make_unique<sim::PtyServer>(std::move(options), &log_)) {
    if (pipe(stop_pipe_) != 0) throw std::system_error(errno, std::generic_category(), "pipe");
    thread_ = std::thread([this] { server_->Run(stop_pipe_[0]); });
}

TimedPtyServer::~TimedPtyServer() {
    const char stop = 'x';
    (void)!write(stop_pipe_[1], &stop, 1);
    thread_.join();
    close(stop_pipe_[0]);
    close(stop_pipe_[1]);
}

int TimedPtyServer::LineLog::overflow(int c) {
    if (c == traits_type::eof()) return traits_type::not_eof(c);
    if (c == '\n') {
        owner_.TakeLogLine(line_);
        line_.clear();
    } else {
        line_.push_back(static_cast<char>(c));
    }
    return c;
}

void TimedPtyServer::TakeLogLine(const std::string& line) {
    const std::string arrow = " <- ";
    const auto at = line.find(arrow);
    if (at == std::string::npos) return;
    const double seconds = std::strtod(line.c_str(), nullptr);
    sim::ObservedLine observed{origin_ + sim::Micros(static_cast<std::int64_t>(seconds * 1e6 + 0.5)),
                               line.substr(at + arrow.size())};
    std::int64_t hz = 0;
    if (sim::ParseTuningHz(observed.text, hz)) last_tuning_hz_.store(hz);
    std::lock_guard lock(mutex_);
    received_.push_back(std::move(observed));
}

std::vector<sim::ObservedLine> TimedPtyServer::Received() const {
    std::lock_guard lock(mutex_);
    return received_;
}

std::size_t TimedPtyServer::ReceivedCount() const {
    std::lock_guard lock(mutex_);
    return received_.size();
}

}  // namespace velmo::bench
