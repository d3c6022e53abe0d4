// SPDX-FileCopyrightText: 2026 The Velmo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "child_process.h"

#include <fcntl.h>
#include <grp.h>
#include <poll.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstring>
#include <filesystem>

extern char** environ;

namespace velmo::testing {
namespace {

using Time = std::chrono::steady_clock::time_point;

int MsUntil(Time deadline) {
    const auto left =
        std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now()).count();
    return static_cast<int>(std::clamp<long long>(left, 0, 100));
}

bool NameIs(const char* entry, const std::string& name) {
    return std::strncmp(entry, name.c_str(), name.size()) == 0 && entry[name.size()] == '=';
}

std::vector<std::string> Environment(const ChildProcess::Options& options) {
    std::vector<std::string> out;
    for (char** entry = environ; *entry != nullptr; ++entry) {
        const bool dropped = std::any_of(options.unset.begin(), options.unset.end(),
                                         [&](const std::string& name) { return NameIs(*entry, name); }) ||
                             std::any_of(options.environment.begin(), options.environment.end(),
                                         [&](const auto& set) { return NameIs(*entry, set.substr(0, set.find('='))); });
        if (!dropped) out.emplace_back(*entry);
    }
    out.insert(out.end(), options.environment.begin(), options.environment.end());
    return out;
}

std::vector<char*> Pointers(std::vector<std::string>& texts) {
    std::vector<char*> pointers;
    for (auto& text : texts) pointers.push_back(text.data());
    pointers.push_back(nullptr);
    return pointers;
}

}  // namespace

ChildProcess::ChildProcess(const std::string& program, const std::vector<std::string>& arguments, Options options) {
    // Everything the child needs is made before fork: after it, in a
    // process that may have other threads, the child only makes calls that
    // are safe there.
    std::vector<std::string> argument_texts{program};
    argument_texts.insert(argument_texts.end(), arguments.begin(), arguments.end());
    std::vector<std::string> environment_texts = Environment(options);
    int in[2], out[2], err[2];
    if (pipe2(in, O_CLOEXEC) != 0) return;
    if (pipe2(out, O_CLOEXEC) != 0 || pipe2(err, O_CLOEXEC) != 0) return;
    // Another user may not be able to reach the program by its path (a
    // clone under /root); a descriptor opened now reaches it regardless.
    const int program_fd = options.as_user ? open(program.c_str(), O_RDONLY | O_CLOEXEC) : -1;
    std::vector<char*> argv = Pointers(argument_texts);
    std::vector<char*> envp = Pointers(environment_texts);
    const char* working_folder = options.working_folder.empty() ? nullptr : options.working_folder.c_str();

    const pid_t parent = getpid();
    pid_ = fork();
    if (pid_ == 0) {
        prctl(PR_SET_PDEATHSIG, SIGKILL);
        if (getppid() != parent) _exit(127);
        dup2(in[0], STDIN_FILENO);
        dup2(out[1], STDOUT_FILENO);
        dup2(options.merge_errors ? out[1] : err[1], STDERR_FILENO);
        if (working_folder != nullptr && chdir(working_folder) != 0) _exit(126);
        if (options.as_user) {
            const auto [uid, gid] = *options.as_user;
            if (setgroups(0, nullptr) != 0 || setgid(gid) != 0 || setuid(uid) != 0) _exit(126);
            if (access(".", X_OK) != 0 && chdir("/") != 0) _exit(126);
            if (program_fd >= 0) {
                // Where the kernel hands the program to an interpreter (a
                // binfmt_misc entry such as qemu-user's for another
                // architecture), the interpreter opens it by /proc/self/fd
                // after the exec: the descriptor must outlive it.
                fcntl(program_fd, F_SETFD, 0);
                fexecve(program_fd, argv.data(), envp.data());
                _exit(127);
            }
        }
        execve(argv[0], argv.data(), envp.data());
        _exit(127);
    }
    if (program_fd >= 0) close(program_fd);
    close(in[0]);
    close(out[1]);
    close(err[1]);
    input_ = in[1];
    output_ = out[0];
    errors_ = err[0];
    if (pid_ < 0) {
        close(input_);
        close(output_);
        close(errors_);
        input_ = output_ = errors_ = -1;
    }
}

ChildProcess::~ChildProcess() {
    if (pid_ > 0 && !status_) {
        kill(pid_, SIGKILL);
        Reap(true);
    }
    for (int fd : {input_, output_, errors_}) {
        if (fd >= 0) close(fd);
    }
}

bool ChildProcess::Reap(bool block) {
    if (status_) return true;
    if (pid_ <= 0) return false;
    int status = 0;
    pid_t reaped;
    do {
        reaped = waitpid(pid_, &status, block ? 0 : WNOHANG);
    } while (reaped < 0 && errno == EINTR);
    if (reaped != pid_) return false;
    status_ = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return true;
}

bool ChildProcess::Running() { return pid_ > 0 && !Reap(false); }

void ChildProcess::ReadAvailable(int timeout_ms) {
    std::array<pollfd, 2> fds{{{output_, POLLIN, 0}, {errors_, POLLIN, 0}}};
    if (output_ < 0 && errors_ < 0) return;
    if (poll(fds.data(), fds.size(), timeout_ms) <= 0) return;
    std::array<char, 4096> chunk{};
    for (std::size_t i = 0; i < fds.size(); ++i) {
        if (fds[i].revents == 0) continue;
        const ssize_t n = read(fds[i].fd, chunk.data(), chunk.size());
        if (n > 0) {
            (i == 0 ? output_text_ : errors_text_).append(chunk.data(), static_cast<std::size_t>(n));
        } else if (n == 0) {
            // The child closed it: stop watching it.
            close(fds[i].fd);
            (i == 0 ? output_ : errors_) = -1;
        }
    }
}

template <typename Done>
bool ChildProcess::Pump(Done done, Time deadline) {
    for (;;) {
        if (done()) return true;
        const int left = MsUntil(deadline);
        if (left == 0) return done();
        if (output_ < 0 && errors_ < 0) {
            // Nothing more can be read: only its end can be waited for.
            if (Reap(false)) return done();
            poll(nullptr, 0, std::min(left, 10));
            continue;
        }
        ReadAvailable(left);
    }
}

bool ChildProcess::WaitForOutput(const std::string& text, std::chrono::milliseconds limit) {
    return Pump([&] { return output_text_.find(text) != std::string::npos; }, std::chrono::steady_clock::now() + limit);
}

bool ChildProcess::WaitForErrors(const std::string& text, std::chrono::milliseconds limit) {
    return Pump([&] { return errors_text_.find(text) != std::string::npos; }, std::chrono::steady_clock::now() + limit);
}

std::string ChildProcess::Output() {
    ReadAvailable(0);
    return output_text_;
}

std::string ChildProcess::Errors() {
    ReadAvailable(0);
    return errors_text_;
}

void ChildProcess::CloseInput() {
    if (input_ >= 0) close(input_);
    input_ = -1;
}

void ChildProcess::Signal(int signal) {
    if (pid_ > 0 && !status_) kill(pid_, signal);
}

int ChildProcess::Wait(std::chrono::milliseconds limit) {
    if (pid_ <= 0) return -1;
    // Its output is read meanwhile, so that a full pipe never holds it up.
    const bool ended = Pump([&] { return Reap(false); }, std::chrono::steady_clock::now() + limit);
    if (!ended) {
        kill(pid_, SIGKILL);
        Reap(true);
    }
    // What it wrote just before it ended.
    for (std::size_t before = ~std::size_t{0}; before != output_text_.size() + errors_text_.size();) {
        before = output_text_.size() + errors_text_.size();
        ReadAvailable(0);
    }
    return ended ? *status_ : -1;
}

std::string SelfPath() { return std::filesystem::read_symlink("/proc/self/exe").string(); }

}  // namespace velmo::testing
