// SPDX-FileCopyrightText: 2026 The Velmo developers
// SPDX-License-Identifier: GPL-3.0-or-later

// velmo-sim: a simulated PCR1000 on a pseudo-terminal, for trying the front
// panel and for end-to-end tests without the real receiver.

#include <fcntl.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <exception>
#include <iostream>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <system_error>
#include <vector>

#include "sim/device_link.h"
#include "sim/pty_server.h"
#include "sim/sim_options.h"
#include "sim/sudo_user.h"

namespace {

using velmo::sim::SudoUser;

int g_stop_pipe[2] = {-1, -1};

extern "C" void OnStopSignal(int) {
    const char byte = 's';
    const int saved = errno;
    [[maybe_unused]] const ssize_t n = write(g_stop_pipe[1], &byte, 1);
    errno = saved;
}

// SIGQUIT too: a simulator ended by it would leave its link behind.
bool InstallStopSignals() {
    if (pipe2(g_stop_pipe, O_CLOEXEC | O_NONBLOCK) != 0) return false;
    struct sigaction sa {};
    sa.sa_handler = OnStopSignal;
    sigemptyset(&sa.sa_mask);
    for (int sig : {SIGINT, SIGTERM, SIGHUP, SIGQUIT}) {
        if (sigaction(sig, &sa, nullptr) != 0) return false;
    }
    signal(SIGPIPE, SIG_IGN);
    return true;
}

// Run as root through sudo, the user who ran sudo; nobody otherwise, or
// when that user is root itself.
std::optional<SudoUser> UserToServeAs() {
    if (geteuid() != 0) return std::nullopt;
    const auto from = velmo::sim::SudoUserFrom(std::getenv("SUDO_UID"), std::getenv("SUDO_GID"));
    if (const auto* error = std::get_if<std::string>(&from)) throw std::runtime_error(*error);
    const auto* user = std::get_if<SudoUser>(&from);
    if (user == nullptr || user->uid == 0) return std::nullopt;
    return *user;
}

// The terminal would otherwise belong to root, and the user's own program
// could not open it.
void HandTerminalTo(const std::string& path, const SudoUser& user) {
    if (chown(path.c_str(), user.uid, user.gid) != 0) {
        std::cerr << "velmo-sim: could not hand " << path << " to the sudo user: " << std::strerror(errno) << '\n';
    }
}

// Under sudo with a link: a child gives up root and serves the terminal;
// this process keeps root only to remove the link once the child has
// ended, and does nothing else meanwhile. A stop signal reaches the child
// through the stop pipe that both share.
int ServeInChild(std::unique_ptr<velmo::sim::PtyServer> server, const SudoUser& user) {
    const pid_t root_part = getpid();
    std::cout.flush();
    std::cerr.flush();
    const pid_t child = fork();
    if (child < 0) throw std::system_error(errno, std::generic_category(), "fork");
    if (child == 0) {
        int status = 0;
        try {
            velmo::sim::BecomeUser(user);
            // Set after the change of user, which clears it: the child ends
            // with the root part, however that ends.
            prctl(PR_SET_PDEATHSIG, SIGTERM);
            if (getppid() == root_part) server->Run(g_stop_pipe[0]);
        } catch (const std::exception& e) {
            std::cerr << "velmo-sim: " << e.what() << '\n';
            status = 1;
        }
        std::cerr.flush();
        _exit(status);  // the link is the root part's to remove
    }
    server.reset();  // the root part holds no terminal
    int status = 0;
    while (waitpid(child, &status, 0) < 0) {
        if (errno != EINTR) throw std::system_error(errno, std::generic_category(), "waitpid");
    }
    if (WIFEXITED(status)) return WEXITSTATUS(status);
    std::cerr << "velmo-sim: the serving process ended by signal " << WTERMSIG(status) << '\n';
    return 1;
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
        const std::optional<SudoUser> user = UserToServeAs();
        ReceiverOptions receiver;
        receiver.seed = options.seed;
        receiver.latency = std::chrono::milliseconds(options.latency_ms);
        receiver.jitter = std::chrono::milliseconds(options.jitter_ms);
        receiver.wire_timing = options.wire_timing;
        receiver.double_last = options.double_last;
        receiver.line_end = options.line_end;

        auto server = std::make_unique<PtyServer>(receiver, options.log ? &std::cerr : nullptr);
        if (user) HandTerminalTo(server->SlavePath(), *user);
        std::unique_ptr<DeviceLink> link;
        if (!options.link_path.empty()) {
            link = std::make_unique<DeviceLink>(options.link_path, server->SlavePath(), options.force, std::cerr);
        }
        // Without a link root was needed for nothing; with one, only to
        // remove it at the end.
        if (user && !link) BecomeUser(*user);
        std::cout << server->SlavePath() << std::endl;
        if (user && link) return ServeInChild(std::move(server), *user);
        server->Run(g_stop_pipe[0]);
    } catch (const std::exception& e) {
        std::cerr << "velmo-sim: " << e.what() << '\n';
        return 1;
    }
    return 0;
}
