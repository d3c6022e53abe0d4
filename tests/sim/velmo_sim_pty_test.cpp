// velmo-sim as a separate program, spoken to through its pseudo-terminal
// exactly as the front panel's serial port will.
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

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

bool Contains(const std::string& hay, const std::string& needle) { return hay.find(needle) != std::string::npos; }

// velmo-sim as a child process; it dies with the test if the test dies.
class SimProcess {
public:
    explicit SimProcess(std::vector<std::string> args) {
        int out[2], err[2];
        if (pipe(out) != 0 || pipe(err) != 0) return;
        pid_ = fork();
        if (pid_ == 0) {
            prctl(PR_SET_PDEATHSIG, SIGKILL);
            dup2(out[1], 1);
            dup2(err[1], 2);
            close(out[0]), close(err[0]), close(out[1]), close(err[1]);
            std::vector<char*> argv{const_cast<char*>(VELMO_SIM_PROGRAM)};
            for (auto& a : args) argv.push_back(a.data());
            argv.push_back(nullptr);
            execv(argv[0], argv.data());
            _exit(127);
        }
        close(out[1]);
        close(err[1]);
        out_ = out[0];
        err_ = err[0];
    }
    ~SimProcess() {
        if (pid_ > 0 && !reaped_) {
            kill(pid_, SIGKILL);
            waitpid(pid_, nullptr, 0);
        }
        if (out_ >= 0) close(out_);
        if (err_ >= 0) close(err_);
    }

    // The first line of standard output: the terminal's path.
    std::string SlavePath() {
        ReadUntil(
            out_, out_text_, [](const std::string& s) { return Contains(s, "\n"); }, In(std::chrono::seconds(10)));
        const auto nl = out_text_.find('\n');
        return nl == std::string::npos ? std::string() : out_text_.substr(0, nl);
    }
    bool LogShows(const std::string& text) {
        return ReadUntil(
            err_, log_, [&](const std::string& s) { return Contains(s, text); }, In(std::chrono::seconds(10)));
    }
    // Sends SIGTERM and returns the exit status, or -1 if it did not end.
    int Terminate() {
        kill(pid_, SIGTERM);
        const Deadline deadline = In(std::chrono::seconds(10));
        int status = 0;
        while (waitpid(pid_, &status, WNOHANG) == 0) {
            if (MsLeft(deadline) == 0) return -1;
            pollfd none{-1, 0, 0};
            poll(&none, 0, 10);
        }
        reaped_ = true;
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }

private:
    pid_t pid_ = -1;
    bool reaped_ = false;
    int out_ = -1;
    int err_ = -1;
    std::string out_text_;
    std::string log_;
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
    // A query whose answer comes after the port is closed...
    ASSERT_EQ(write(fd, "I1?\r\n", 5), 5);
    close(fd);
    ASSERT_TRUE(sim.LogShows("-> I1"));
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

}  // namespace
