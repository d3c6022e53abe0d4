// SPDX-FileCopyrightText: 2026 The Velmo developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The receiver reached across a network, as its owners set it up: velmo-sim
// on a pseudo-terminal stands for the receiver's serial line, ser2net serves
// that line as raw TCP on 127.0.0.1, and socat turns the stream back into a
// pseudo-terminal, on which the real window opens its port. When ser2net
// goes away, socat closes its terminal, and the panel must take that as it
// takes an adapter pulled out.
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <signal.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "child_process.h"
#include "panel_numbers.h"
#include "panel_on_port.h"
#include "panel_on_sim.h"
#include "process_measures.h"
#include "scan_checks.h"
#include "switch_on_commands.h"
#include "temp_folder.h"
#include "wait.h"

namespace velmo::e2e {
namespace {

using namespace std::chrono_literals;
using testing::ChildProcess;
using testing::WaitUntil;

constexpr qint64 kSocatLingerMs = 500;
constexpr qint64 kMarginMs = 300;

// The program's path from PATH, or from the sbin folders, where Debian
// puts ser2net and an ordinary user's PATH does not look; empty if absent.
std::string FindProgram(const std::string& name) {
    std::string folders = "/usr/sbin:/sbin";
    if (const char* path = std::getenv("PATH")) folders = std::string(path) + ":" + folders;
    std::istringstream list(folders);
    for (std::string folder; std::getline(list, folder, ':');) {
        const std::string candidate = folder + "/" + name;
        if (!folder.empty() && access(candidate.c_str(), X_OK) == 0) return candidate;
    }
    return {};
}

// A TCP port on 127.0.0.1 that is free as this returns; 0 if none is found.
int FreeLocalPort() {
    const int s = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (s < 0) return 0;
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t size = sizeof address;
    int port = 0;
    if (bind(s, reinterpret_cast<sockaddr*>(&address), size) == 0 &&
        getsockname(s, reinterpret_cast<sockaddr*>(&address), &size) == 0) {
        port = ntohs(address.sin_port);
    }
    close(s);
    return port;
}

// Whether a socket listens on 127.0.0.1:`port`, from the kernel's table
// rather than by connecting: ser2net would open the serial side for a
// probe, and refuse the real client while the probe's session ends.
bool ListeningOnLocalPort(int port) {
    std::ifstream table("/proc/net/tcp");
    char wanted[32];
    std::snprintf(wanted, sizeof wanted, "0100007F:%04X", port);
    std::string line;
    std::getline(table, line);  // the header
    while (std::getline(table, line)) {
        std::istringstream fields(line);
        std::string slot, local, remote, state;
        fields >> slot >> local >> remote >> state;
        if (local == wanted && state == "0A") return true;  // 0A: LISTEN
    }
    return false;
}

// The lines velmo-sim --log says it received ("  12.345678 <- H101").
std::vector<std::string> ReceivedLines(const std::string& log) {
    std::vector<std::string> lines;
    std::istringstream in(log);
    for (std::string line; std::getline(in, line);) {
        const auto arrow = line.find(" <- ");
        if (arrow != std::string::npos) lines.push_back(line.substr(arrow + 4));
    }
    return lines;
}

// The line for this link only: raw TCP, no banner (it would reach the
// panel as bytes from the receiver), 9600 8N1 with the modem lines ignored
// (`local`: a pseudo-terminal has none).
std::string Ser2netConfig(int port, const std::string& serial_device) {
    return "connection: &velmo\n"
           "  accepter: tcp,127.0.0.1," +
           std::to_string(port) +
           "\n"
           "  connector: serialdev," +
           serial_device +
           ",9600n81,local\n"
           "  options:\n"
           "    mdns: false\n";
}

TEST(RemoteChain, ThroughSer2netAndSocatTheSessionWorksAndALostLinkEndsIt) {
    const std::string ser2net = FindProgram("ser2net");
    const std::string socat = FindProgram("socat");
    if (ser2net.empty() || socat.empty()) {
        GTEST_SKIP() << "needs ser2net and socat (scripts/bootstrap installs them): "
                     << (ser2net.empty() ? "no ser2net " : "") << (socat.empty() ? "no socat" : "");
    }
    testing::TempFolder folder;
    ASSERT_FALSE(folder.Path().empty());

    // The receiver's serial line.
    ChildProcess sim(VELMO_SIM_PROGRAM, {"--log"});
    ASSERT_TRUE(sim.WaitForOutput("\n", 5s)) << sim.Errors();
    const std::string serial_line = sim.Output().substr(0, sim.Output().find('\n'));
    ASSERT_EQ(serial_line.rfind("/dev/pts/", 0), 0u) << serial_line;

    // The serial server beside the receiver.
    const int port = FreeLocalPort();
    ASSERT_GT(port, 0);
    const std::string config = folder / "ser2net.yaml";
    std::ofstream(config) << Ser2netConfig(port, serial_line);
    ChildProcess::Options merged;
    merged.merge_errors = true;
    ChildProcess server(ser2net, {"-n", "-d", "-c", config}, merged);
    ASSERT_TRUE(WaitUntil([&] { return ListeningOnLocalPort(port) || !server.Running(); }, 5s));
    ASSERT_TRUE(server.Running()) << "ser2net ended: " << server.Output();

    // The desktop's end: the TCP stream as a terminal again.
    const std::string link = folder / "velmo1";
    ChildProcess relay(socat, {"PTY,link=" + link + ",raw,echo=0", "TCP:127.0.0.1:" + std::to_string(port)}, merged);
    // ser2net opens the serial line once socat has connected.
    ASSERT_TRUE(sim.WaitForErrors("port opened", 5s))
        << "socat: " << relay.Output() << "\nser2net: " << server.Output();
    ASSERT_TRUE(std::filesystem::exists(link)) << relay.Output();

    testing::PanelOnPort panel(link);
    panel.user.Click("RadioOn");
    ASSERT_TRUE(WaitUntil([&] { return ReceivedLines(sim.Errors()).size() >= testing::kSwitchOnCommands.size(); }, 5s))
        << sim.Errors();
    EXPECT_EQ(ReceivedLines(sim.Errors()), testing::kSwitchOnCommands) << "every command crossed, in order";
    EXPECT_EQ(panel.user.CodesOut(), testing::kSwitchOnCommands);
    // 81.3 MHz carries a strong station.
    EXPECT_TRUE(WaitUntil([&] { return BarLength(panel.user.SignalBar()) > 50; }, 3s)) << panel.user.SignalBar();
    ASSERT_NO_FATAL_FAILURE(testing::ScanPastTheStationAt82_5(panel.user));
    ASSERT_TRUE(panel.messages.empty()) << panel.messages.front();

    // The serial server goes away; the CPU is measured over the second after.
    server.Signal(SIGTERM);
    const qint64 stopped_at = panel.clock.elapsed();
    const double cpu_at_stop = testing::ProcessCpuSeconds();
    std::optional<double> cpu_second_later;
    testing::WhenThen measure([&] { return panel.clock.elapsed() >= stopped_at + 1000; },
                              [&] { cpu_second_later = testing::ProcessCpuSeconds(); });
    const bool told = WaitUntil([&] { return !panel.messages.empty() && cpu_second_later.has_value(); }, 10s);
    // What happened meanwhile at each link of the chain, for a failure here.
    const std::string chain =
        "ser2net: " + server.Output() + "\nsocat: " + relay.Output() + (relay.Running() ? " (running)" : " (ended)") +
        "\nvelmo-sim log tail: " + sim.Errors().substr(sim.Errors().size() > 400 ? sim.Errors().size() - 400 : 0);
    ASSERT_TRUE(told) << "the panel said nothing for 10 s after ser2net stopped\n" << chain;

    ASSERT_EQ(panel.messages.size(), 1u) << chain;
    std::cout << "told " << panel.reported_at - stopped_at
              << " ms after ser2net was stopped: " << panel.messages.front() << std::endl;
    EXPECT_NE(panel.messages.front().find("was lost"), std::string::npos) << "as for an unplugged adapter";
    EXPECT_NE(panel.messages.front().find(link), std::string::npos);
    // socat closes its terminal half a second after the stream ends (its
    // -t default); the panel finds the terminal gone at the first signal
    // poll after that.
    EXPECT_LE(panel.reported_at - stopped_at, kSocatLingerMs + panel_numbers::kSignalPollMs + kMarginMs);
    EXPECT_TRUE(panel.window.Ending());
    EXPECT_EQ(panel.window.ExitStatus(), 1);
    const double cpu_ms = (*cpu_second_later - cpu_at_stop) * 1e3;
    std::cout << "CPU in the second after: " << cpu_ms << " ms" << std::endl;
    EXPECT_LT(cpu_ms, 50) << "under 5% of the second after ser2net stopped";
    // socat ends with 0 on the end of the stream, or 1 when a poll the
    // panel wrote meanwhile met the closed socket ("Broken pipe").
    const int relay_status = relay.Wait(3s);
    std::cout << "socat ended with status " << relay_status << std::endl;
    EXPECT_GE(relay_status, 0) << "socat ends by itself once its peer has gone: " << relay.Output();
    EXPECT_FALSE(std::filesystem::exists(link)) << "and removes its link";
}

}  // namespace
}  // namespace velmo::e2e
