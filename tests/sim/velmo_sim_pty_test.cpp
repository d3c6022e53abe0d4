// SPDX-FileCopyrightText: 2026 The Velmo developers
// SPDX-License-Identifier: GPL-3.0-or-later

// velmo-sim as a separate program, spoken to through its pseudo-terminal
// exactly as the front panel's serial port will.
#include <fcntl.h>
#include <poll.h>
#include <signal.h>

#include <sys/stat.h>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "child_process.h"
#include "process_measures.h"
#include "temp_folder.h"

namespace {

using velmo::testing::TempFolder;
using Deadline = std::chrono::steady_clock::time_point;

Deadline In(std::chrono::seconds s) { return std::chrono::steady_clock::now() + s; }

int MsLeft(Deadline d) {
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(d - std::chrono::steady_clock::now());
    return left.count() < 0 ? 0 : static_cast<int>(left.count());
}

// Reads from `fd` into `got` until `done(got)` holds or the deadline passes.
template <typename Done>
bool ReadUntil(int fd, std::string& got, Done done, Deadline deadline) {
    while (!done(got)) {
        pollfd p{fd, POLLIN, 0};
        const int left = MsLeft(deadline);
        if (left == 0 || poll(&p, 1, left) <= 0) return done(got);
        char buf[256];
        const ssize_t n = read(fd, buf, sizeof buf);
        if (n <= 0) return done(got);
        got.append(buf, static_cast<std::size_t>(n));
    }
    return true;
}

// velmo-sim as a child process; it dies with the test if the test dies.
class SimProcess {
public:
    // `env`: "NAME=value" added to this process's environment, from which
    // any SUDO_UID and SUDO_GID are left out (a test run through sudo must
    // not change what the simulator does).
    explicit SimProcess(const std::vector<std::string>& args, std::vector<std::string> env = {})
        : process_(VELMO_SIM_PROGRAM, args, Options(std::move(env))) {}

    // The first line of standard output: the terminal's path.
    std::string SlavePath() {
        process_.WaitForOutput("\n", std::chrono::seconds(10));
        const std::string out = process_.Output();
        const auto nl = out.find('\n');
        return nl == std::string::npos ? std::string() : out.substr(0, nl);
    }
    bool LogShows(const std::string& text) { return process_.WaitForErrors(text, std::chrono::seconds(10)); }
    // Sends `sig` and returns the exit status, or -1 if it did not end.
    int Terminate(int sig = SIGTERM) {
        process_.Signal(sig);
        return process_.Wait(std::chrono::seconds(10));
    }
    // The exit status once it ends by itself before `deadline`; -1 if it
    // did not, or was killed by a signal.
    int WaitForExit(Deadline deadline) {
        return process_.Wait(
            std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now()));
    }
    pid_t Pid() const { return process_.Pid(); }

private:
    static velmo::testing::ChildProcess::Options Options(std::vector<std::string> env) {
        velmo::testing::ChildProcess::Options options;
        options.environment = std::move(env);
        options.unset = {"SUDO_UID", "SUDO_GID"};
        return options;
    }

    velmo::testing::ChildProcess process_;
};

int OpenRaw(const std::string& path) {
    const int fd = open(path.c_str(), O_RDWR | O_NOCTTY);
    if (fd < 0) return fd;
    termios t{};
    tcgetattr(fd, &t);
    cfmakeraw(&t);
    tcsetattr(fd, TCSANOW, &t);
    return fd;
}

std::string Exchange(int fd, const std::string& line, const std::string& expected) {
    EXPECT_EQ(write(fd, line.data(), line.size()), static_cast<ssize_t>(line.size()));
    std::string got;
    ReadUntil(
        fd, got, [&](const std::string& s) { return s.size() >= expected.size(); }, In(std::chrono::seconds(10)));
    return got;
}

TEST(VelmoSimPty, SwitchesOnThroughTheTerminal) {
    SimProcess sim({});
    const std::string path = sim.SlavePath();
    ASSERT_FALSE(path.empty());
    const int fd = OpenRaw(path);
    ASSERT_GE(fd, 0) << path;
    EXPECT_EQ(Exchange(fd, "H101\r\n", "G000\r\n"), "G000\r\n");
    EXPECT_EQ(Exchange(fd, "I0?\r\n", "I007\r\n"), "I007\r\n");
    close(fd);
    EXPECT_EQ(sim.Terminate(), 0);
}

TEST(VelmoSimPty, DoubleLastRepeatsTheLastCharacterOfAnAnswer) {
    SimProcess sim({"--double-last", "1", "--no-wire-timing", "--latency-ms", "0"});
    const std::string path = sim.SlavePath();
    ASSERT_FALSE(path.empty());
    const int fd = OpenRaw(path);
    ASSERT_GE(fd, 0) << path;
    EXPECT_EQ(Exchange(fd, "H101\r\n", "G0000\r\n"), "G0000\r\n");
    EXPECT_EQ(Exchange(fd, "I0?\r\n", "I0077\r\n"), "I0077\r\n");
    close(fd);
    EXPECT_EQ(sim.Terminate(), 0);
}

TEST(VelmoSimPty, LinkNamesTheTerminalAndNothingStaleReachesTheNextClient) {
    const std::string link = std::string(::testing::TempDir()) + "velmo-sim-link-" + std::to_string(getpid());
    SimProcess sim({"--link", link, "--log", "--no-wire-timing", "--latency-ms", "0"});
    ASSERT_FALSE(sim.SlavePath().empty());

    int fd = OpenRaw(link);
    ASSERT_GE(fd, 0) << link;
    ASSERT_EQ(Exchange(fd, "H101\r\n", "G000\r\n"), "G000\r\n");
    // A query still on its way, or answered, when the port is closed...
    ASSERT_EQ(write(fd, "I1?\r\n", 5), 5);
    close(fd);
    ASSERT_TRUE(sim.LogShows("port closed"));

    // ...is not read by whoever opens it next.
    fd = OpenRaw(link);
    ASSERT_GE(fd, 0);
    EXPECT_EQ(Exchange(fd, "G300\r\n", "G000\r\n"), "G000\r\n");
    close(fd);

    EXPECT_TRUE(sim.LogShows("<- G300"));
    EXPECT_EQ(sim.Terminate(), 0);
    struct stat st {};
    EXPECT_NE(lstat(link.c_str(), &st), 0) << "the link is removed on exit";
}

// A line of /proc/PID/status after its "Field:" and the tab, e.g. "1234 kB".
std::string StatusField(pid_t pid, const std::string& field) {
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind(field + ":", 0) == 0) {
            const auto value = line.find_first_not_of(" \t", field.size() + 1);
            return value == std::string::npos ? std::string() : line.substr(value);
        }
    }
    return "(no " + field + ")";
}

// The first child of `parent` found in /proc, or -1.
pid_t ChildOf(pid_t parent) {
    for (const auto& entry : std::filesystem::directory_iterator("/proc")) {
        const std::string name = entry.path().filename();
        if (name.find_first_not_of("0123456789") != std::string::npos) continue;
        const pid_t pid = static_cast<pid_t>(std::atol(name.c_str()));
        if (StatusField(pid, "PPid") == std::to_string(parent)) return pid;
    }
    return -1;
}

std::string LinkTarget(const std::string& path) {
    std::error_code error;
    const auto target = std::filesystem::read_symlink(path, error);
    return error ? std::string("(none)") : target.string();
}

// Writes `pattern` over and over into `fd` until `limit` bytes are taken,
// `deadline` passes, `stop` is set or the terminal fails; on a blocking
// descriptor each write waits until the terminal has taken all of it.
// Returns the bytes taken.
std::size_t Flood(int fd, std::string_view pattern, std::size_t limit, Deadline deadline, const std::atomic<bool>& stop,
                  std::atomic<std::size_t>* progress = nullptr) {
    std::string chunk;
    while (chunk.size() < 64 * 1024) chunk += pattern;
    std::size_t taken = 0;
    while (taken < limit && !stop && MsLeft(deadline) > 0) {
        const std::size_t offset = taken % pattern.size();
        const ssize_t n = write(fd, chunk.data() + offset, std::min(chunk.size() - offset, limit - taken));
        if (n > 0) {
            taken += static_cast<std::size_t>(n);
            if (progress) *progress = taken;
        } else if (n < 0 && errno == EAGAIN) {
            pollfd p{fd, POLLOUT, 0};
            poll(&p, 1, std::min(MsLeft(deadline), 100));
        } else if (!(n < 0 && errno == EINTR)) {
            break;
        }
    }
    return taken;
}

constexpr std::size_t kMiB = 1024 * 1024;

// A client that sends faster than 9600 baud and never reads is held back
// as by a real line: the simulator takes a few KiB and stops reading, its
// memory stays as it was, and once that client has gone the next one is
// answered at once, not after the backlog.
TEST(VelmoSimFlood, MemoryStaysFlatAndTheNextClientIsAnswered) {
    SimProcess sim({"--log"});
    const std::string path = sim.SlavePath();
    ASSERT_FALSE(path.empty());
    const std::int64_t peak_before = velmo::testing::PeakResidentKib(sim.Pid());
    ASSERT_GT(peak_before, 0);

    const int flood_fd = OpenRaw(path);
    ASSERT_GE(flood_fd, 0) << path;
    fcntl(flood_fd, F_SETFL, fcntl(flood_fd, F_GETFL) | O_NONBLOCK);
    const std::atomic<bool> never{false};
    const std::size_t taken = Flood(flood_fd, "H101\r\n", 6 * kMiB, In(std::chrono::seconds(2)), never);
    const std::int64_t peak_after = velmo::testing::PeakResidentKib(sim.Pid());
    // Over 2 s a 9600-baud line takes under 2 KB; the terminal's buffers
    // and the simulator's backlog bound add a few KiB more.
    EXPECT_LT(taken, 1 * kMiB) << "the simulator took the flood in without holding it back";
    EXPECT_LT(peak_after - peak_before, 16 * 1024)
        << "peak resident KiB went from " << peak_before << " to " << peak_after << " after " << taken << " bytes";
    close(flood_fd);
    ASSERT_TRUE(sim.LogShows("port closed"));

    const int fd = OpenRaw(path);
    ASSERT_GE(fd, 0);
    EXPECT_EQ(Exchange(fd, "H101\r\n", "G000\r\n"), "G000\r\n");
    close(fd);
    EXPECT_EQ(sim.Terminate(), 0);
}

// SIGTERM, and SIGQUIT like it, end the simulator promptly even while a
// client floods it as fast as it can, and the link goes with it.
class VelmoSimStop : public ::testing::TestWithParam<int> {};

TEST_P(VelmoSimStop, EndsWithinASecondDuringAFloodAndRemovesItsLink) {
    TempFolder folder;
    const std::string link = folder / "velmo1";
    SimProcess sim({"--link", link, "--no-wire-timing"});
    ASSERT_FALSE(sim.SlavePath().empty());
    // Blocking writes refill the terminal the moment the simulator has
    // read from it, as `cat /dev/zero > /dev/velmo1` does.
    const int fd = OpenRaw(link);
    ASSERT_GE(fd, 0) << link;

    std::atomic<bool> stop{false};
    std::atomic<std::size_t> sent{0};
    std::thread flood([&] { Flood(fd, "x", ~std::size_t{0}, In(std::chrono::seconds(60)), stop, &sent); });
    const Deadline busy = In(std::chrono::seconds(20));
    while (sent < 2 * kMiB && MsLeft(busy) > 0) std::this_thread::sleep_for(std::chrono::milliseconds(5));
    const bool flooding = sent >= 2 * kMiB;

    const auto signalled = std::chrono::steady_clock::now();
    kill(sim.Pid(), GetParam());
    const int status = sim.WaitForExit(In(std::chrono::seconds(1)));
    const auto took = std::chrono::steady_clock::now() - signalled;
    // A write still blocked ends when the terminal goes.
    if (status < 0) sim.Terminate(SIGKILL);
    stop = true;
    flood.join();
    close(fd);

    ASSERT_TRUE(flooding) << "only " << sent << " bytes went in";
    EXPECT_EQ(status, 0) << "not ended within a second of the signal, or not by its own exit";
    EXPECT_LT(took, std::chrono::seconds(1));
    EXPECT_EQ(LinkTarget(link), "(none)");
}

INSTANTIATE_TEST_SUITE_P(Signals, VelmoSimStop, ::testing::Values(SIGTERM, SIGQUIT),
                         [](const auto& p) { return std::string(p.param == SIGTERM ? "Term" : "Quit"); });

TEST(VelmoSimLink, ALinkItDidNotMakeIsLeftAsItWas) {
    TempFolder folder;
    const std::string link = folder / "velmo1";
    for (const char* foreign : {"/etc/hostname", "ttyUSB0"}) {
        SCOPED_TRACE(foreign);
        ASSERT_EQ(symlink(foreign, link.c_str()), 0);
        SimProcess sim({"--link", link});
        EXPECT_EQ(sim.WaitForExit(In(std::chrono::seconds(10))), 1);
        EXPECT_TRUE(sim.LogShows("left alone"));
        EXPECT_EQ(LinkTarget(link), foreign);
        ASSERT_EQ(unlink(link.c_str()), 0);
    }
}

// A link left by a killed simulator is taken over, then removed at the end.
TEST(VelmoSimLink, ALeftoverLinkIsTakenOverAndRemoved) {
    TempFolder folder;
    const std::string link = folder / "velmo1";
    ASSERT_EQ(symlink("/dev/pts/999999", link.c_str()), 0);
    SimProcess sim({"--link", link, "--no-wire-timing"});
    const std::string path = sim.SlavePath();
    ASSERT_FALSE(path.empty());
    EXPECT_EQ(LinkTarget(link), path);
    EXPECT_TRUE(sim.LogShows("took over"));
    EXPECT_EQ(sim.Terminate(), 0);
    EXPECT_EQ(LinkTarget(link), "(none)");
}

TEST(VelmoSimLink, ASecondSimulatorLeavesTheFirstOnesLinkAlone) {
    TempFolder folder;
    const std::string link = folder / "velmo1";
    SimProcess first({"--link", link, "--no-wire-timing"});
    const std::string path = first.SlavePath();
    ASSERT_FALSE(path.empty());

    SimProcess second({"--link", link, "--force"});
    EXPECT_EQ(second.WaitForExit(In(std::chrono::seconds(10))), 1);
    EXPECT_TRUE(second.LogShows("another velmo-sim"));
    EXPECT_EQ(LinkTarget(link), path);

    const int fd = OpenRaw(link);
    ASSERT_GE(fd, 0);
    EXPECT_EQ(Exchange(fd, "H101\r\n", "G000\r\n"), "G000\r\n");
    close(fd);
    EXPECT_EQ(first.Terminate(), 0);
}

// Run through sudo, velmo-sim needs root only to make the link: the process
// that serves the terminal runs as the user who ran sudo.
TEST(VelmoSimSudo, ServesAsTheUserWhoRanSudo) {
    if (geteuid() != 0) GTEST_SKIP() << "needs root: only a root velmo-sim has root to give up";
    const std::string nobody = "65534\t65534\t65534\t65534";
    const std::vector<std::string> sudo_env = {"SUDO_UID=65534", "SUDO_GID=65534"};
    TempFolder folder;
    const std::string link = folder / "velmo1";

    SimProcess sim({"--link", link, "--no-wire-timing"}, sudo_env);
    const std::string path = sim.SlavePath();
    ASSERT_FALSE(path.empty());
    // Answered, so the serving process is past giving up root.
    const int fd = OpenRaw(link);
    ASSERT_GE(fd, 0);
    EXPECT_EQ(Exchange(fd, "H101\r\n", "G000\r\n"), "G000\r\n");
    close(fd);

    pid_t server = -1;
    for (const Deadline d = In(std::chrono::seconds(10)); server < 0 && MsLeft(d) > 0;) {
        server = ChildOf(sim.Pid());
        if (server < 0) std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    ASSERT_GT(server, 0) << "no serving process";
    EXPECT_EQ(StatusField(server, "Uid"), nobody);
    EXPECT_EQ(StatusField(server, "Gid"), nobody);
    EXPECT_EQ(StatusField(server, "Groups"), "");
    EXPECT_EQ(StatusField(sim.Pid(), "Uid").substr(0, 2), "0\t") << "the part that removes the link";
    struct stat st {};
    ASSERT_EQ(stat(path.c_str(), &st), 0);
    EXPECT_EQ(st.st_uid, 65534u) << "the terminal is handed to the user";
    EXPECT_EQ(sim.Terminate(), 0);
    EXPECT_EQ(LinkTarget(link), "(none)") << "removed by the part that kept root";

    // Without a link there is nothing to keep root for.
    SimProcess unlinked({}, sudo_env);
    ASSERT_FALSE(unlinked.SlavePath().empty());
    EXPECT_EQ(StatusField(unlinked.Pid(), "Uid"), nobody);
    EXPECT_EQ(unlinked.Terminate(), 0);
}

TEST(VelmoSimSudo, MalformedSudoIdsAreRefusedNotTakenForRoot) {
    if (geteuid() != 0) GTEST_SKIP() << "needs root: velmo-sim reads SUDO_UID only when it has root";
    TempFolder folder;
    const std::string link = folder / "velmo1";
    for (const char* uid : {"abc", "4294967296", ""}) {
        SCOPED_TRACE(uid);
        SimProcess sim({"--link", link}, {std::string("SUDO_UID=") + uid, "SUDO_GID=65534"});
        EXPECT_EQ(sim.WaitForExit(In(std::chrono::seconds(10))), 1);
        EXPECT_TRUE(sim.LogShows("is not a user id"));
        EXPECT_EQ(LinkTarget(link), "(none)");
    }
}

}  // namespace
