// SPDX-FileCopyrightText: 2026 The Velmo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <sys/types.h>

#include <chrono>
#include <optional>
#include <string>
#include <vector>

namespace velmo::testing {

// Another program run as a child of this one, for tests and benchmarks:
// its output and errors gathered through pipes, its input a pipe that
// CloseInput() closes. It dies with this process, and is killed if it is
// still running when this goes away.
class ChildProcess {
public:
    struct Options {
        // "NAME=value", added to this process's environment.
        std::vector<std::string> environment;
        // Names taken out of it.
        std::vector<std::string> unset;
        // Standard error goes to the output pipe too, in order.
        bool merge_errors = false;
        // Runs as this user and group with no supplementary groups (needs
        // root to change user). The program is started from a descriptor
        // opened before the change, so that user need not reach it by its
        // path: the clone may sit in a folder only root may enter. Where
        // that user cannot enter the working folder, it runs in /.
        std::optional<std::pair<uid_t, gid_t>> as_user;
        // Runs in this folder; empty: in this process's.
        std::string working_folder;
    };

    ChildProcess(const std::string& program, const std::vector<std::string>& arguments, Options options);
    // With `environment` added to this process's.
    ChildProcess(const std::string& program, const std::vector<std::string>& arguments,
                 std::vector<std::string> environment)
        : ChildProcess(program, arguments, WithEnvironment(std::move(environment))) {}
    ChildProcess(const std::string& program, const std::vector<std::string>& arguments)
        : ChildProcess(program, arguments, Options{}) {}
    ~ChildProcess();
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    // -1 when it could not be started.
    pid_t Pid() const { return pid_; }
    bool Running();

    // Waits until the output (or the errors) so far contain `text`.
    bool WaitForOutput(const std::string& text, std::chrono::milliseconds limit);
    bool WaitForErrors(const std::string& text, std::chrono::milliseconds limit);
    // Everything printed so far.
    std::string Output();
    std::string Errors();

    void CloseInput();
    void Signal(int signal);
    // Waits for it to end and returns its exit status; -1 if a signal
    // ended it, or if it did not end within `limit` (it is killed then).
    int Wait(std::chrono::milliseconds limit);
    // Closes its input, which tells a child that waits on it to end, and waits.
    int Finish(std::chrono::milliseconds limit) {
        CloseInput();
        return Wait(limit);
    }

private:
    static Options WithEnvironment(std::vector<std::string> environment) {
        Options options;
        options.environment = std::move(environment);
        return options;
    }
    // Reads what has come until `done` holds or the deadline passes.
    template <typename Done>
    bool Pump(Done done, std::chrono::steady_clock::time_point deadline);
    void ReadAvailable(int timeout_ms);
    bool Reap(bool block);

    pid_t pid_ = -1;
    int input_ = -1;
    int output_ = -1;
    int errors_ = -1;
    std::string output_text_;
    std::string errors_text_;
    std::optional<int> status_;
};

// This program's own path, to run it again as a child.
std::string SelfPath();

}  // namespace velmo::testing
