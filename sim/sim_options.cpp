// SPDX-FileCopyrightText: 2026 The Velmo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "sim/sim_options.h"

#include <charconv>
#include <limits>

namespace velmo::sim {

namespace {

template <typename Number>
bool ReadNumber(const std::string& text, Number& out) {
    Number value{};
    const char* end = text.data() + text.size();
    auto [ptr, ec] = std::from_chars(text.data(), end, value);
    if (ec != std::errc{} || ptr != end || text.empty()) return false;
    out = value;
    return true;
}

}  // namespace

std::string SimUsage() {
    return "Usage: velmo-sim [options]\n"
           "Serves a simulated PCR1000 receiver on a pseudo-terminal. The first line\n"
           "on standard output is the terminal's path; the program runs until it\n"
           "gets SIGINT, SIGTERM, SIGHUP or SIGQUIT (end of standard input does not\n"
           "stop it). Run with sudo, it serves the terminal as the user who ran sudo.\n"
           "\n"
           "  --link PATH        also make a symlink PATH to the terminal (removed on exit),\n"
           "                     e.g. --link /dev/velmo1 for Velmo_1; a link left by an\n"
           "                     earlier velmo-sim is taken over, anything else is refused\n"
           "  --force            with --link, also replace a symlink that velmo-sim did not\n"
           "                     make (it is put back on exit)\n"
           "  --log              write every line received and sent, and the port's opening\n"
           "                     and closing, with times, to stderr\n"
           "  --seed N           seed of the band noise, --double-last and --jitter-ms\n"
           "                     (default 1)\n"
           "  --latency-ms N     from the end of a command to its answer (default 3)\n"
           "  --jitter-ms N      each answer up to N ms later again, at random from the\n"
           "                     seed, still in order as over TCP (default 0)\n"
           "  --no-wire-timing   bytes cross instantly instead of at 960 bytes/s\n"
           "  --double-last P    repeat the last character of an answer (\"G0000\") with\n"
           "                     the chance P, 0 to 1 (default 0); drawn from the seed\n"
           "  --line-end END     end every answer in crlf, cr, lf or none (default crlf)\n"
           "  --help             show this text\n";
}

std::variant<SimOptions, std::string> ParseSimOptions(const std::vector<std::string>& args) {
    SimOptions options;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        const bool has_value = i + 1 < args.size();
        if (arg == "--help" || arg == "-h") {
            options.help = true;
        } else if (arg == "--log") {
            options.log = true;
        } else if (arg == "--force") {
            options.force = true;
        } else if (arg == "--no-wire-timing") {
            options.wire_timing = false;
        } else if (arg == "--link" || arg == "--seed" || arg == "--latency-ms" || arg == "--jitter-ms" ||
                   arg == "--double-last" || arg == "--line-end") {
            if (!has_value) return arg + " needs a value";
            const std::string& value = args[++i];
            if (arg == "--link") {
                if (value.empty()) return "--link needs a path";
                options.link_path = value;
            } else if (arg == "--seed") {
                if (!ReadNumber(value, options.seed)) return "--seed wants a whole number, not '" + value + "'";
            } else if (arg == "--line-end") {
                const auto end = ParseLineEnd(value);
                if (!end) return "--line-end wants crlf, cr, lf or none, not '" + value + "'";
                options.line_end = *end;
            } else if (arg == "--double-last") {
                double chance = 0;
                // NaN fails both comparisons.
                if (!ReadNumber(value, chance) || !(chance >= 0.0 && chance <= 1.0)) {
                    return "--double-last wants a chance from 0 to 1, not '" + value + "'";
                }
                options.double_last = chance;
            } else {
                int ms = 0;
                if (!ReadNumber(value, ms) || ms < 0 || ms > 60'000) {
                    return arg + " wants 0 to 60000, not '" + value + "'";
                }
                (arg == "--latency-ms" ? options.latency_ms : options.jitter_ms) = ms;
            }
        } else {
            return "unknown argument '" + arg + "'";
        }
    }
    if (options.force && options.link_path.empty()) return "--force goes with --link";
    return options;
}

}  // namespace velmo::sim
