// velmo-sim: a simulated PCR1000 on a pseudo-terminal, for trying the front
// panel and for end-to-end tests without the real receiver.

#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <exception>
#include <iostream>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "sim/pty_server.h"
#include "sim/sim_options.h"

namespace {

int g_stop_pipe[2] = {-1, -1};

extern "C" void OnStopSignal(int) {
    const char byte = 's';
    const int saved = errno;
    [[maybe_unused]] const ssize_t n = write(g_stop_pipe[1], &byte, 1);
    errno = saved;
}

bool InstallStopSignals() {
    if (pipe2(g_stop_pipe, O_CLOEXEC | O_NONBLOCK) != 0) return false;
    struct sigaction sa {};
    sa.sa_handler = OnStopSignal;
    sigemptyset(&sa.sa_mask);
    for (int sig : {SIGINT, SIGTERM, SIGHUP}) {
        if (sigaction(sig, &sa, nullptr) != 0) return false;
    }
    signal(SIGPIPE, SIG_IGN);
    return true;
}

// The symlink that lets a program find the terminal under a stable name.
// An old symlink there (left by a killed run) is replaced; anything else
// at that path is left alone.
class Link {
public:
    Link(std::string path, const std::string& target) : path_(std::move(path)) {
        struct stat st {};
        if (lstat(path_.c_str(), &st) == 0) {
            if (!S_ISLNK(st.st_mode)) throw std::runtime_error(path_ + " exists and is not a symlink");
            unlink(path_.c_str());
        }
        if (symlink(target.c_str(), path_.c_str()) != 0) {
            throw std::runtime_error("cannot make " + path_ + ": " + std::strerror(errno));
        }
        target_ = target;
    }
    ~Link() {
        std::array<char, 4096> buf{};
        const ssize_t n = readlink(path_.c_str(), buf.data(), buf.size() - 1);
        if (n > 0 && std::string(buf.data(), static_cast<std::size_t>(n)) == target_) unlink(path_.c_str());
    }
    Link(const Link&) = delete;
    Link& operator=(const Link&) = delete;

private:
    std::string path_;
    std::string target_;
};

// Run with sudo (needed to make a link in /dev), the terminal would belong
// to root and the user's own program could not open it.
void GiveToSudoUser(const std::string& path) {
    const char* uid = std::getenv("SUDO_UID");
    const char* gid = std::getenv("SUDO_GID");
    if (uid == nullptr || gid == nullptr) return;
    if (chown(path.c_str(), static_cast<uid_t>(std::strtoul(uid, nullptr, 10)),
              static_cast<gid_t>(std::strtoul(gid, nullptr, 10))) != 0) {
        std::cerr << "velmo-sim: could not hand " << path << " to the sudo user\n";
    }
}

}  // namespace

int main(int argc, char** argv) {
    using namespace velmo::sim;
    const auto parsed = ParseSimOptions(std::vector<std::string>(argv + 1, argv + argc));
    if (const auto* error = std::get_if<std::string>(&parsed)) {
        std::cerr << "velmo-sim: " << *error << "\n\n" << SimUsage();
        return 2;
    }
    const auto& options = std::get<SimOptions>(parsed);
    if (options.help) {
        std::cout << SimUsage();
        return 0;
    }

    try {
        if (!InstallStopSignals()) throw std::runtime_error(std::string("signals: ") + std::strerror(errno));
        ReceiverOptions receiver;
        receiver.seed = options.seed;
        receiver.latency = std::chrono::milliseconds(options.latency_ms);
        receiver.wire_timing = options.wire_timing;
        receiver.double_last = options.double_last;

        PtyServer server(receiver, options.log ? &std::cerr : nullptr);
        GiveToSudoUser(server.SlavePath());
        std::unique_ptr<Link> link;
        if (!options.link_path.empty()) link = std::make_unique<Link>(options.link_path, server.SlavePath());

        std::cout << server.SlavePath() << std::endl;
        server.Run(g_stop_pipe[0]);
    } catch (const std::exception& e) {
        std::cerr << "velmo-sim: " << e.what() << '\n';
        return 1;
    }
    return 0;
}
