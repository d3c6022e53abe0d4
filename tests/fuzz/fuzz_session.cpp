// SPDX-FileCopyrightText: 2026 The Velmo developers
// SPDX-License-Identifier: GPL-3.0-or-later

// A whole panel session in virtual time: random user actions at random
// moments against a receiver that answers random bytes. Whatever happens,
// the panel never touches a closed port, keeps the frequency in range, keeps
// its lists bounded, and leaves no pause waiting.
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <stdexcept>
#include <string>

#include "byte_reader.h"
#include "fake_view.h"
#include "tuning_steps.h"

namespace {

using velmo::testing::Rig;

void Check(bool ok) {
    if (!ok) std::abort();
}

void CheckInvariants(Rig& rig) {
    Check(rig.panel.Frequency >= velmo::kLowestFrequency && rig.panel.Frequency <= velmo::kHighestFrequency);
    Check(rig.view.ListCount(velmo::CodeList::CodesOut) <= velmo::FrontPanel::kMaxListEntries);
    Check(rig.view.ListCount(velmo::CodeList::CodesIn) <= velmo::FrontPanel::kMaxListEntries);
    Check(rig.panel.Signal >= 0 && rig.panel.Signal <= 75);
    Check(!rig.timer1->Enabled() && rig.timer1->Interval() == 0);
}

void UserAction(Rig& rig, velmo::fuzzing::ByteReader& in) {
    using namespace velmo;
    auto& view = rig.view;
    switch (in.Byte() % 12) {
        case 0: rig.panel.PowerOn(); break;
        case 1: rig.panel.PowerOff(); break;
        case 2: rig.panel.TuneUp(); break;
        case 3: rig.panel.TuneDown(); break;
        case 4: rig.panel.ToggleScan(); break;
        case 5: view.SetScrollValue(static_cast<ScrollBar>(in.Byte() % kLevelCount), in.Int(0, 255)); break;
        case 6: view.SetOptionSelected(static_cast<OptionButton>(in.Byte() % kOptionCount), true); break;
        case 7: view.ClickCheck(static_cast<CheckBox>(in.Byte() % kSwitchCount)); break;
        case 8: {
            const auto pick = in.Byte();
            view.SetTuningStepText(pick < 200 ? std::string(kTuningSteps[pick % kTuningSteps.size()].text)
                                              : in.Text(12));
            break;
        }
        case 9: {
            const int rounds = in.Byte() % 4;
            for (int i = 0; i < rounds; ++i) view.input_answers.push_back(in.Text(24));
            rig.panel.EnterFrequency();
            view.input_answers.clear();
            break;
        }
        case 10: rig.panel.HandleKey(in.Int(0, 255)); break;
        case 11:
            if (rig.link.IsOpen()) rig.link.Deliver(in.Text(64), rig.clock.NowUs() + in.Int(0, 50'000));
            break;
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    velmo::fuzzing::ByteReader in(data, size);
    Rig rig(1);
    auto replies = std::make_shared<velmo::fuzzing::ByteReader>(data, size);
    rig.link.responder = [replies](const std::string&) {
        return replies->Byte() < 128 ? std::string("G000\r\n") : replies->Text(16);
    };
    rig.link.wire_timing = (in.Byte() & 1) != 0;
    rig.link.reply_delay_us = in.Int(0, 40'000);
    if (in.Byte() == 0xEE) rig.link.open_error = "Permission denied";

    try {
        rig.panel.SetDefaults();
        for (int step = 0; step < 48 && !in.empty(); ++step) {
            const double at_ms = static_cast<double>(rig.clock.NowUs()) / 1000.0 + in.Int(0, 3000);
            rig.clock.AtMs(at_ms, [&] { UserAction(rig, in); });
            rig.clock.RunUntilMs(at_ms + 1);
            CheckInvariants(rig);
        }
    } catch (const velmo::ProgramEnded&) {
        Check(rig.view.ended);
    } catch (const velmo::SerialError&) {
        Check(!rig.link.open_error.empty());
    }
    return 0;
}
