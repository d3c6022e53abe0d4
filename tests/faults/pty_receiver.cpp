#include "pty_receiver.h"

#include "sim/raw_pty.h"

#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <system_error>

namespace velmo::faults {
namespace {

[[noreturn]] void ThrowErrno(const char* what) { throw std::system_error(errno, std::generic_category(), what); }

}  // namespace

PtyReceiver::PtyReceiver(Answer answer, std::chrono::milliseconds piece_gap)
    : piece_gap_(piece_gap), answer_(std::move(answer)) {
    const sim::RawPty pty = sim::OpenRawPty();
    master_ = pty.master;
    slave_ = pty.slave;
    slave_path_ = pty.slave_path;
    if (pipe2(stop_pipe_, O_CLOEXEC) != 0) ThrowErrno("pipe");
    thread_ = std::thread([this] { Run(); });
}

PtyReceiver::~PtyReceiver() {
    Unplug();
    if (slave_ >= 0) close(slave_);
    close(stop_pipe_[0]);
    close(stop_pipe_[1]);
}

void PtyReceiver::SetAnswer(Answer answer) {
    std::lock_guard lock(mutex_);
    answer_ = std::move(answer);
}

void PtyReceiver::Send(std::string bytes) {
    {
        std::lock_guard lock(mutex_);
        queued_ += bytes;
    }
    const char wake = 'w';
    (void)!write(stop_pipe_[1], &wake, 1);
}

std::size_t PtyReceiver::Unsent() const {
    std::lock_guard lock(mutex_);
    return queued_.size() - queued_sent_;
}

std::vector<PtyReceiver::Line> PtyReceiver::Received() const {
    std::lock_guard lock(mutex_);
    return lines_;
}

std::vector<std::string> PtyReceiver::Lines() const {
    std::vector<std::string> texts;
    for (const auto& line : Received()) texts.push_back(line.text);
    return texts;
}

std::string PtyReceiver::Bytes() const {
    std::lock_guard lock(mutex_);
    return bytes_;
}

void PtyReceiver::Unplug() {
    if (!thread_.joinable()) return;
    const char stop = 's';
    (void)!write(stop_pipe_[1], &stop, 1);
    thread_.join();
    close(master_);
    master_ = -1;
}

void PtyReceiver::Run() {
    for (;;) {
        bool sending;
        {
            std::lock_guard lock(mutex_);
            sending = queued_sent_ < queued_.size();
        }
        std::array<pollfd, 2> watch{
            {{master_, static_cast<short>(POLLIN | (sending ? POLLOUT : 0)), 0}, {stop_pipe_[0], POLLIN, 0}}};
        if (poll(watch.data(), watch.size(), -1) < 0) {
            if (errno == EINTR) continue;
            return;
        }
        if (watch[1].revents & POLLIN) {
            std::array<char, 64> signals{};
            const ssize_t n = read(stop_pipe_[0], signals.data(), signals.size());
            for (ssize_t i = 0; i < n; ++i) {
                if (signals[static_cast<std::size_t>(i)] == 's') return;
            }
        }
        if (watch[0].revents & POLLIN) {
            std::array<char, 4096> chunk{};
            const ssize_t n = read(master_, chunk.data(), chunk.size());
            if (n > 0) Take(chunk.data(), static_cast<std::size_t>(n));
        }
        if (watch[0].revents & POLLOUT) FlushQueued();
    }
}

void PtyReceiver::Take(const char* data, std::size_t size) {
    std::vector<std::string> complete;
    Answer answer;
    {
        std::lock_guard lock(mutex_);
        bytes_.append(data, size);
        for (std::size_t i = 0; i < size; ++i) {
            if (data[i] == '\n') {
                if (!partial_line_.empty() && partial_line_.back() == '\r') partial_line_.pop_back();
                lines_.push_back({Clock::now(), partial_line_});
                complete.push_back(partial_line_);
                partial_line_.clear();
            } else {
                partial_line_.push_back(data[i]);
            }
        }
        answer = answer_;
    }
    for (const auto& line : complete) {
        const auto pieces = answer ? answer(line) : std::vector<std::string>{};
        for (std::size_t i = 0; i < pieces.size(); ++i) {
            // The wire's own pace: the rest of a reply comes a little later.
            if (i > 0) std::this_thread::sleep_for(piece_gap_);
            WriteAll(pieces[i]);
        }
    }
}

void PtyReceiver::WriteAll(const std::string& bytes) {
    std::size_t sent = 0;
    while (sent < bytes.size()) {
        const ssize_t n = write(master_, bytes.data() + sent, bytes.size() - sent);
        if (n > 0) {
            sent += static_cast<std::size_t>(n);
        } else if (n < 0 && errno != EAGAIN && errno != EINTR) {
            return;
        } else {
            pollfd room{master_, POLLOUT, 0};
            poll(&room, 1, 100);
        }
    }
}

bool PtyReceiver::FlushQueued() {
    std::lock_guard lock(mutex_);
    if (queued_sent_ == queued_.size()) return false;
    const ssize_t n = write(master_, queued_.data() + queued_sent_, queued_.size() - queued_sent_);
    if (n <= 0) return false;
    queued_sent_ += static_cast<std::size_t>(n);
    if (queued_sent_ == queued_.size()) {
        queued_.clear();
        queued_sent_ = 0;
    }
    return true;
}

PtyReceiver::Answer ReceiverAnswers(std::string signal, std::string squelch) {
    return [signal, squelch](const std::string& line) -> std::vector<std::string> {
        if (line == "I1?") return {"I1" + signal + "\r\n"};
        if (line == "I0?") return {"I0" + squelch + "\r\n"};
        if (line.empty()) return {};
        return {"G000\r\n"};
    };
}

PtyReceiver::Answer Silent() {
    return [](const std::string&) { return std::vector<std::string>{}; };
}

}  // namespace velmo::faults
