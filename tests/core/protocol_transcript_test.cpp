// SPDX-FileCopyrightText: 2026 The Velmo developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The session at the top of core/protocol.h is what a newcomer reads first;
// here its command lines are held against what the panel, made from its
// tables, sends in the same session, so that a new control or command
// cannot leave the transcript a line short.
#include <gtest/gtest.h>

#include <fstream>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "core_rigs.h"

namespace velmo::testing {
namespace {

using Lines = std::vector<std::string>;

// The command lines ("-> X") of each part of the transcript, by the part's
// title (a comment line indented by two blanks).
std::map<std::string, Lines> TranscriptCommands() {
    std::ifstream header(VELMO_PROTOCOL_HEADER);
    std::map<std::string, Lines> parts;
    std::string line;
    std::string title;
    while (std::getline(header, line) && !line.starts_with("namespace")) {
        if (line.starts_with("//   ") && line.size() > 5 && line[5] != ' ') title = line.substr(5);
        const auto arrow = line.find("-> ");
        if (!title.empty() && line.starts_with("//     ") && arrow == 7) {
            const std::string rest = line.substr(arrow + 3);
            parts[title].push_back(rest.substr(0, rest.find(' ')));
        }
    }
    return parts;
}

TEST(ProtocolTranscript, ItsCommandLinesAreThoseThePanelSends) {
    const auto parts = TranscriptCommands();
    ASSERT_FALSE(parts.empty()) << "cannot read the transcript in " << VELMO_PROTOCOL_HEADER;

    Rig rig;
    rig.link.responder = ScriptedReceiver{.squelch = "07"};
    rig.panel.SetDefaults();
    struct Part {
        const char* title;
        std::function<void()> act;
    };
    const Part session[] = {
        {"Switching on, with the start-up settings",
         [&] {
             rig.panel.PowerOn();
             rig.timer2->SetEnabled(false);  // the poll has a part of its own
         }},
        {"One tuning step (Page Up, a step of 100 KHz)", [&] { rig.panel.HandleKey(33); }},
        {"The signal poll, while the scanner is stopped", [&] { rig.panel.ReadSignal(); }},
        {"One scanner step that finds a busy channel", [&] { rig.panel.ScanStep(); }},
        {"Switching off", [&] { rig.panel.PowerOff(); }},
    };
    ASSERT_EQ(parts.size(), std::size(session)) << "a part of the transcript without its session here";
    for (const Part& part : session) {
        rig.link.lines.clear();
        part.act();
        ASSERT_TRUE(parts.contains(part.title)) << part.title;
        EXPECT_EQ(parts.at(part.title), rig.link.lines) << part.title;
    }
}

}  // namespace
}  // namespace velmo::testing
