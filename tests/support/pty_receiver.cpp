// SPDX-FileCopyrightText: 2026 The Velmo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "pty_receiver.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <system_error>

#include "scripted_receiver.h"
#include "sim/pty_server.h"
#include "sim/raw_pty.h"

namespace velmo::testing {
namespace {

[[noreturn]] void ThrowErrno(const char* what) { throw std::system_error(errno, std::generic_category(), what); }

// What the scripted thread finds in its wake-up pipe: more to send, or stop.
constexpr char kWake = 'w';
constexpr char kStop = 's';

}  // namespace

PtyReceiver::PtyReceiver(sim::ReceiverOptions options, LineObserver observer) : observer_(std::move(observer)) {
    server_ = std::make_unique<sim::PtyServer>(
        std::move(options), nullptr,
        [this](sim::Micros at, sim::SimulatedReceiver::Direction direction, std::string_view text) {
            // The server's clock is the steady clock, counted from its epoch.
            if (direction == sim::SimulatedReceiver::Direction::ToReceiver) {
                Note({Clock::time_point(std::chrono::duration_cast<Clock::duration>(at)), std::string(text)});
            } else {
                std::lock_guard lock(mutex_);
                answers_.emplace_back(text);
            }
        });
    slave_path_ = server_->SlavePath();
    if (pipe2(stop_pipe_, O_CLOEXEC) != 0) ThrowErrno("pipe");
    thread_ = std::thread([this] { server_->Run(stop_pipe_[0]); });
}

PtyReceiver::PtyReceiver(Answer answer, std::chrono::milliseconds piece_gap, LineObserver observer)
    : observer_(std::move(observer)), piece_gap_(piece_gap), answer_(std::move(answer)) {
    const sim::RawPty pty = sim::OpenRawPty();
    master_ = pty.master;
    slave_ = pty.slave;
    slave_path_ = pty.slave_path;
    if (pipe2(stop_pipe_, O_CLOEXEC) != 0) ThrowErrno("pipe");
    thread_ = std::thread([this] { RunScripted(); });
}

PtyReceiver::~PtyReceiver() {
    Stop();
    if (master_ >= 0) close(master_);
    if (slave_ >= 0) close(slave_);
    close(stop_pipe_[0]);
    close(stop_pipe_[1]);
}

void PtyReceiver::Stop() {
    if (!thread_.joinable()) return;
    (void)!write(stop_pipe_[1], &kStop, 1);
    thread_.join();
}

void PtyReceiver::Note(Line line) {
    std::lock_guard lock(mutex_);
    if (observer_) observer_(line);
    lines_.push_back(std::move(line));
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

std::vector<std::string> PtyReceiver::Answers() const {
    std::lock_guard lock(mutex_);
    return answers_;
}

std::size_t PtyReceiver::LineCount() const {
    std::lock_guard lock(mutex_);
    return lines_.size();
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
    (void)!write(stop_pipe_[1], &kWake, 1);
}

std::size_t PtyReceiver::Unsent() const {
    std::lock_guard lock(mutex_);
    return queued_.size() - queued_sent_;
}

std::string PtyReceiver::Bytes() const {
    std::lock_guard lock(mutex_);
    return bytes_;
}

int PtyReceiver::PendingAtSlave() const {
    int pending = 0;
    if (ioctl(slave_, FIONREAD, &pending) != 0) ThrowErrno("FIONREAD");
    return pending;
}

void PtyReceiver::PauseReading(bool paused) {
    {
        std::lock_guard lock(mutex_);
        reading_ = !paused;
    }
    (void)!write(stop_pipe_[1], &kWake, 1);
}

void PtyReceiver::Unplug() {
    Stop();
    if (master_ >= 0) close(master_);
    master_ = -1;
}

void PtyReceiver::RunScripted() {
    for (;;) {
        short wanted = 0;
        {
            std::lock_guard lock(mutex_);
            if (reading_) wanted |= POLLIN;
            if (queued_sent_ < queued_.size()) wanted |= POLLOUT;
        }
        std::array<pollfd, 2> watch{{{master_, wanted, 0}, {stop_pipe_[0], POLLIN, 0}}};
        if (poll(watch.data(), watch.size(), -1) < 0) {
            if (errno == EINTR) continue;
            return;
        }
        const auto at = Clock::now();
        if (watch[1].revents & POLLIN) {
            std::array<char, 64> signals{};
            const ssize_t n = read(stop_pipe_[0], signals.data(), signals.size());
            for (ssize_t i = 0; i < n; ++i) {
                if (signals[static_cast<std::size_t>(i)] == kStop) return;
            }
        }
        if (watch[0].revents & POLLIN) {
            std::array<char, 4096> chunk{};
            const ssize_t n = read(master_, chunk.data(), chunk.size());
            if (n > 0) Take(chunk.data(), static_cast<std::size_t>(n), at);
        }
        if (watch[0].revents & POLLOUT) FlushQueued();
    }
}

void PtyReceiver::Take(const char* data, std::size_t size, Clock::time_point at) {
    std::vector<std::string> complete;
    Answer answer;
    {
        std::lock_guard lock(mutex_);
        bytes_.append(data, size);
        for (std::size_t i = 0; i < size; ++i) {
            if (partial_line_.empty()) partial_started_ = at;
            if (data[i] != '\n') {
                partial_line_.push_back(data[i]);
                continue;
            }
            if (!partial_line_.empty() && partial_line_.back() == '\r') partial_line_.pop_back();
            Line line{partial_started_, std::move(partial_line_)};
            partial_line_.clear();
            if (observer_) observer_(line);
            complete.push_back(line.text);
            lines_.push_back(std::move(line));
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

void PtyReceiver::FlushQueued() {
    std::lock_guard lock(mutex_);
    if (queued_sent_ == queued_.size()) return;
    const ssize_t n = write(master_, queued_.data() + queued_sent_, queued_.size() - queued_sent_);
    if (n <= 0) return;
    queued_sent_ += static_cast<std::size_t>(n);
    if (queued_sent_ == queued_.size()) {
        queued_.clear();
        queued_sent_ = 0;
    }
}

PtyReceiver::Answer ReceiverAnswers(std::string signal, std::string squelch) {
    const ScriptedReceiver receiver{std::move(squelch), std::move(signal)};
    return [receiver](const std::string& line) -> std::vector<std::string> {
        if (line.empty()) return {};
        return {receiver(line)};
    };
}

PtyReceiver::Answer Silent() {
    return [](const std::string&) { return std::vector<std::string>{}; };
}

}  // namespace velmo::testing
