#include "pty_pair.h"

#include "sim/raw_pty.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>
#include <QCoreApplication>

#include <cerrno>
#include <filesystem>
#include <stdexcept>
#include <system_error>

namespace velmo::testing {
namespace {

[[noreturn]] void ThrowErrno(const char* what) { throw std::system_error(errno, std::generic_category(), what); }

}  // namespace

PtyPair::PtyPair() {
    const sim::RawPty pty = sim::OpenRawPty();
    master_ = pty.master;
    slave_ = pty.slave;
    slave_path_ = pty.slave_path;
}

PtyPair::~PtyPair() {
    if (master_ >= 0) close(master_);
    if (slave_ >= 0) close(slave_);
}

void PtyPair::SendFromReceiver(const std::string& bytes) {
    std::size_t sent = 0;
    while (sent < bytes.size()) {
        const ssize_t n = write(master_, bytes.data() + sent, bytes.size() - sent);
        if (n < 0 && errno != EAGAIN && errno != EINTR) ThrowErrno("write to master");
        if (n > 0) sent += static_cast<std::size_t>(n);
    }
}

std::string PtyPair::ReceiveAtReceiver(std::size_t count, bool run_events) {
    std::string received;
    WaitUntil(
        [&] {
            char chunk[4096];
            for (;;) {
                const ssize_t n = read(master_, chunk, sizeof chunk);
                if (n <= 0) break;
                received.append(chunk, static_cast<std::size_t>(n));
            }
            if (received.size() >= count) return true;
            pollfd ready{master_, POLLIN, 0};
            poll(&ready, 1, 5);
            return false;
        },
        run_events);
    return received;
}

int PtyPair::PendingAtSlave() const {
    int pending = 0;
    if (ioctl(slave_, FIONREAD, &pending) != 0) ThrowErrno("FIONREAD");
    return pending;
}

void PtyPair::CloseMaster() {
    close(master_);
    master_ = -1;
}

int PtyPair::OpenSlaveDescriptors() const {
    int count = 0;
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator("/proc/self/fd", error)) {
        std::error_code ignored;
        // Once the master is closed the slave's node is removed, and the
        // descriptors still open on it show as "(deleted)".
        const std::string target = std::filesystem::read_symlink(entry.path(), ignored).string();
        if (target == slave_path_ || target == slave_path_ + " (deleted)") ++count;
    }
    return count;
}

bool WaitUntil(const std::function<bool()>& done, bool run_events, std::chrono::milliseconds limit) {
    const auto deadline = std::chrono::steady_clock::now() + limit;
    for (;;) {
        if (run_events) QCoreApplication::processEvents();
        if (done()) return true;
        if (std::chrono::steady_clock::now() > deadline) return false;
        poll(nullptr, 0, 1);
    }
}

}  // namespace velmo::testing
