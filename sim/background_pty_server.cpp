#include "sim/background_pty_server.h"

#include <unistd.h>

#include <sstream>
#include <system_error>

namespace velmo::sim {

std::string SharedLog::Text() const {
    std::lock_guard lock(mutex_);
    return text_;
}

int SharedLog::overflow(int c) {
    if (c == traits_type::eof()) return traits_type::not_eof(c);
    std::lock_guard lock(mutex_);
    text_.push_back(static_cast<char>(c));
    return c;
}

std::streamsize SharedLog::xsputn(const char* s, std::streamsize n) {
    std::lock_guard lock(mutex_);
    text_.append(s, static_cast<std::size_t>(n));
    return n;
}

BackgroundPtyServer::BackgroundPtyServer(ReceiverOptions options)
    : server_(std::make_unique<PtyServer>(std::move(options), &log_)) {
    if (pipe(stop_pipe_) != 0) throw std::system_error(errno, std::generic_category(), "pipe");
    thread_ = std::thread([this] { server_->Run(stop_pipe_[0]); });
}

BackgroundPtyServer::~BackgroundPtyServer() {
    const char stop = 'x';
    (void)!write(stop_pipe_[1], &stop, 1);
    thread_.join();
    close(stop_pipe_[0]);
    close(stop_pipe_[1]);
}

std::vector<std::string> BackgroundPtyServer::Lines(const std::string& arrow) const {
    // Log lines read "<seconds> <- TEXT" (received) or "<seconds> -> TEXT" (sent).
    std::vector<std::string> lines;
    std::istringstream log(log_buffer_.Text());
    std::string line;
    while (std::getline(log, line)) {
        if (log.eof()) break;  // a line still being written
        const auto at = line.find(arrow);
        if (at != std::string::npos) lines.push_back(line.substr(at + arrow.size()));
    }
    return lines;
}

std::vector<std::string> BackgroundPtyServer::Received() const { return Lines(" <- "); }
std::vector<std::string> BackgroundPtyServer::Sent() const { return Lines(" -> "); }

}  // namespace velmo::sim
