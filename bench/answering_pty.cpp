#include "answering_pty.h"

#include "sim/raw_pty.h"

#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <system_error>

namespace velmo::bench {
namespace {

std::string AnswerTo(const std::string& line) {
    if (line == "I0?") return "I004\r\n";
    if (line == "I1?") return "I100\r\n";
    return "G000\r\n";
}

}  // namespace

AnsweringPty::AnsweringPty() {
    // The master does not block: an answer nobody reads is dropped rather
    // than holding up the server.
    const sim::RawPty pty = sim::OpenRawPty();
    master_ = pty.master;
    slave_ = pty.slave;
    slave_path_ = pty.slave_path;
    if (pipe(stop_pipe_) != 0) throw std::system_error(errno, std::generic_category(), "pipe");
    thread_ = std::thread([this] { Serve(); });
}

AnsweringPty::~AnsweringPty() {
    const char stop = 'x';
    (void)!write(stop_pipe_[1], &stop, 1);
    thread_.join();
    for (int fd : {stop_pipe_[0], stop_pipe_[1], slave_, master_}) close(fd);
}

void AnsweringPty::Serve() {
    std::array<pollfd, 2> fds{{{master_, POLLIN, 0}, {stop_pipe_[0], POLLIN, 0}}};
    std::array<char, 4096> buf{};
    for (;;) {
        if (poll(fds.data(), fds.size(), -1) < 0) {
            if (errno == EINTR) continue;
            return;
        }
        if (fds[1].revents) return;
        if (!(fds[0].revents & POLLIN)) continue;
        const auto at = std::chrono::steady_clock::now();
        const ssize_t n = read(master_, buf.data(), buf.size());
        if (n > 0) Take(buf.data(), static_cast<std::size_t>(n), at);
    }
}

void AnsweringPty::Take(const char* bytes, std::size_t count, Time at) {
    for (std::size_t i = 0; i < count; ++i) {
        const char c = bytes[i];
        if (c == '\r') continue;
        if (c != '\n') {
            if (partial_.empty()) partial_started_ = at;
            partial_.push_back(c);
            continue;
        }
        if (partial_.empty()) continue;
        const std::string answer = AnswerTo(partial_);
        (void)!write(master_, answer.data(), answer.size());
        std::lock_guard lock(mutex_);
        lines_.push_back({partial_started_, partial_});
        partial_.clear();
    }
}

std::vector<AnsweringPty::Line> AnsweringPty::Lines() const {
    std::lock_guard lock(mutex_);
    return lines_;
}

std::size_t AnsweringPty::LineCount() const {
    std::lock_guard lock(mutex_);
    return lines_.size();
}

}  // namespace velmo::bench
