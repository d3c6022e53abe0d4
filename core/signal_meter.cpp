#include <algorithm>

#include "front_panel.h"
#include "protocol.h"
#include "signal_reading.h"

namespace velmo {

void FrontPanel::ReadSignal() {
    if (!link_.IsOpen()) return;
    std::string reply;
    if (!QueryAndGather(protocol::kSignalQuery, protocol::kSignalAnswer, reply)) return;
    ShowReplies(reply);
    const auto bar = SignalBarLength(reply, Signal);
    if (!bar) return;
    Signal = static_cast<std::int16_t>(*bar);
    ShowSignal(Signal);
}

void FrontPanel::ShowSignal(int level) { view_.SetSignalBar(SignalBarText(level), SignalBarColour(level)); }

}  // namespace velmo
