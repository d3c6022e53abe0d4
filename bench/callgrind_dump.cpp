// SPDX-FileCopyrightText: 2026 The Velmo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "callgrind_dump.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace velmo::bench {
namespace {

// The words after "key: " on a header line.
std::vector<std::string> Words(const std::string& line, std::size_t key_length) {
    std::istringstream in(line.substr(key_length));
    std::vector<std::string> words;
    for (std::string word; in >> word;) words.push_back(word);
    return words;
}

bool StartsWith(const std::string& line, const std::string& key) { return line.rfind(key, 0) == 0; }

}  // namespace

std::optional<CallgrindDump> ReadCallgrindDump(std::istream& text) {
    const std::string trigger_key = "desc: Trigger: ";
    const std::string client_request = "Client Request: ";
    CallgrindDump dump;
    std::vector<std::string> events;
    std::vector<std::string> summary;
    std::vector<std::string> totals;
    for (std::string line; std::getline(text, line);) {
        if (StartsWith(line, trigger_key)) {
            dump.trigger = line.substr(trigger_key.size());
            if (StartsWith(dump.trigger, client_request)) dump.trigger.erase(0, client_request.size());
        } else if (StartsWith(line, "events:")) {
            events = Words(line, 7);
        } else if (StartsWith(line, "summary:")) {
            summary = Words(line, 8);
        } else if (StartsWith(line, "totals:")) {
            totals = Words(line, 7);
        }
    }
    // The totals close the file; the summary in its head says the same.
    const std::vector<std::string>& counts = totals.empty() ? summary : totals;
    const auto ir = std::find(events.begin(), events.end(), "Ir");
    const auto at = static_cast<std::size_t>(ir - events.begin());
    if (ir == events.end() || at >= counts.size()) return std::nullopt;
    try {
        std::size_t used = 0;
        dump.instructions = std::stoll(counts[at], &used);
        if (used != counts[at].size() || dump.instructions < 0) return std::nullopt;
    } catch (const std::exception&) {
        return std::nullopt;
    }
    return dump;
}

std::vector<CallgrindDump> ReadCallgrindDumps(const std::string& folder) {
    std::vector<CallgrindDump> dumps;
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(folder, error)) {
        if (!StartsWith(entry.path().filename().string(), "callgrind.out")) continue;
        std::ifstream file(entry.path());
        if (auto dump = ReadCallgrindDump(file)) dumps.push_back(*dump);
    }
    return dumps;
}

}  // namespace velmo::bench
