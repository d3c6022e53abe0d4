// SPDX-FileCopyrightText: 2026 The Velmo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "sim/pty_server.h"
#include "sim/raw_pty.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/inotify.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <stdexcept>
#include <system_error>
#include <vector>

namespace velmo::sim {

namespace {

[[noreturn]] void ThrowErrno(const char* what) { throw std::system_error(errno, std::generic_category(), what); }

std::string Printable(std::string_view text) {
    std::string out;
    for (char c : text) {
        const auto u = static_cast<unsigned char>(c);
        if (u >= 0x20 && u < 0x7F) {
            out.push_back(c);
        } else {
            std::array<char, 8> hex{};
            std::snprintf(hex.data(), hex.size(), "\\x%02X", u);
            out += hex.data();
        }
    }
    return out;
}

}  // namespace

PtyServer::PtyServer(ReceiverOptions options, std::ostream* log, SimulatedReceiver::Observer observer)
    : started_(clock_.Now()), receiver_(std::move(options)), log_(log) {
    const RawPty pty = OpenRawPty();
    master_ = pty.master;
    slave_ = pty.slave;
    slave_path_ = pty.slave_path;

    // Without the watch every byte is passed on whether or not anyone listens.
    watch_fd_ = inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
    if (watch_fd_ >= 0 && inotify_add_watch(watch_fd_, slave_path_.c_str(), IN_OPEN | IN_CLOSE) < 0) {
        close(watch_fd_);
        watch_fd_ = -1;
    }

    if (log_ || observer) {
        receiver_.SetObserver(
            [this, observer = std::move(observer)](Micros at, SimulatedReceiver::Direction d, std::string_view text) {
                if (observer) observer(at, d, text);
                if (log_) Log(at, (d == SimulatedReceiver::Direction::ToReceiver ? "<- " : "-> ") + Printable(text));
            });
    }
}

void PtyServer::Log(Micros at, const std::string& what) const {
    if (!log_) return;
    std::array<char, 32> stamp{};
    std::snprintf(stamp.data(), stamp.size(), "%12.6f ", static_cast<double>((at - started_).count()) / 1e6);
    *log_ << stamp.data() << what << '\n' << std::flush;
}

PtyServer::~PtyServer() {
    if (watch_fd_ >= 0) close(watch_fd_);
    if (slave_ >= 0) close(slave_);
    if (master_ >= 0) close(master_);
}

int PtyServer::PollTimeoutMs() const {
    const auto due = receiver_.NextDue();
    if (!due) return -1;  // POLLIN or POLLOUT wakes us
    const auto wait = (*due - clock_.Now()).count();
    if (wait <= 0) return 0;
    return static_cast<int>((wait + 999) / 1000);
}

// Held when the backlog reaches its bound, taken up again once it has
// drained to half, so a flood is read in chunks rather than byte by byte.
bool PtyServer::TakesInput() {
    const std::size_t backlog = Backlog();
    if (backlog >= kMaxBacklog) input_held_ = true;
    if (backlog <= kMaxBacklog / 2) input_held_ = false;
    return !input_held_;
}

void PtyServer::ReadFromClient() {
    // Whoever wrote what waits opened the port before writing it: count
    // that open, and any close since, before the receiver takes it.
    if (watch_fd_ >= 0) HandleOpensAndCloses();
    ReadChunk();
}

bool PtyServer::ReadChunk() {
    std::array<char, kReadChunk> buf{};
    ssize_t n = 0;
    do {
        n = read(master_, buf.data(), buf.size());
    } while (n < 0 && errno == EINTR);
    if (n <= 0) return false;
    receiver_.Write(std::string_view(buf.data(), static_cast<std::size_t>(n)), clock_.Now());
    return true;
}

void PtyServer::FlushToClient() {
    std::string arrived = receiver_.Read(clock_.Now());
    if (watch_fd_ >= 0 && clients_ == 0) return;  // nobody has the port open
    to_client_ += arrived;
    while (!to_client_.empty()) {
        const ssize_t n = write(master_, to_client_.data(), to_client_.size());
        if (n > 0) {
            to_client_.erase(0, static_cast<std::size_t>(n));
            continue;
        }
        if (n < 0 && errno == EINTR) continue;
        return;  // EAGAIN: the client is not reading; try again on POLLOUT
    }
}

// `client_waiting`: another client opened the port in the meantime, and
// what waits in the terminal may be its first command.
void PtyServer::ClientsGone(bool client_waiting) {
    // What the client wrote before it closed still reaches the receiver
    // (its last command is often the switch-off); only the answers are
    // lost. The terminal holds a few KiB at most.
    if (!client_waiting) {
        while (ReadChunk()) {}
    }
    receiver_.HostGone(clock_.Now());
    to_client_.clear();
    input_held_ = false;
    tcflush(slave_, TCIFLUSH);
    // A client that died holding the port exclusively must not lock out
    // the next one.
    ioctl(slave_, TIOCNXCL);
}

void PtyServer::HandleOpensAndCloses() {
    // All that is pending first: whether another client opened after the
    // last one closed decides what may be flushed.
    std::vector<std::uint32_t> events;
    alignas(inotify_event) std::array<char, 4096> buf{};
    for (;;) {
        const ssize_t n = read(watch_fd_, buf.data(), buf.size());
        if (n <= 0) break;
        for (ssize_t off = 0; off < n;) {
            const auto* ev = reinterpret_cast<const inotify_event*>(buf.data() + off);
            events.push_back(ev->mask);
            off += static_cast<ssize_t>(sizeof(inotify_event) + ev->len);
        }
    }
    for (std::size_t i = 0; i < events.size(); ++i) {
        if (events[i] & IN_OPEN) {
            // Nothing written before this client came may reach it.
            if (clients_++ == 0) {
                tcflush(slave_, TCIFLUSH);
                Log(clock_.Now(), "port opened");
            }
        }
        if ((events[i] & IN_CLOSE) && clients_ > 0 && --clients_ == 0) {
            const bool reopened = std::any_of(events.begin() + static_cast<std::ptrdiff_t>(i) + 1, events.end(),
                                              [](std::uint32_t mask) { return (mask & IN_OPEN) != 0; });
            ClientsGone(reopened);
            Log(clock_.Now(), "port closed");
        }
    }
}

void PtyServer::Run(int stop_fd) {
    for (;;) {
        FlushToClient();
        const short master_events =
            static_cast<short>((TakesInput() ? POLLIN : 0) | (to_client_.empty() ? 0 : POLLOUT));
        std::array<pollfd, 3> fds{};
        fds[0] = {stop_fd, POLLIN, 0};
        fds[1] = {master_, master_events, 0};
        fds[2] = {watch_fd_, POLLIN, 0};
        const nfds_t count = watch_fd_ >= 0 ? 3 : 2;
        const int ready = poll(fds.data(), count, PollTimeoutMs());
        if (ready < 0) {
            if (errno == EINTR) continue;
            ThrowErrno("poll");
        }
        if (fds[0].revents != 0) return;
        // We hold the slave open, so the master hangs up only if it is broken.
        if (fds[1].revents & (POLLERR | POLLHUP | POLLNVAL)) {
            throw std::runtime_error("pseudo-terminal " + slave_path_ + " failed");
        }
        // Opens and closes first: a client's first bytes follow its open.
        if (count == 3 && (fds[2].revents & POLLIN)) HandleOpensAndCloses();
        if (fds[1].revents & POLLIN) ReadFromClient();
    }
}

}  // namespace velmo::sim
