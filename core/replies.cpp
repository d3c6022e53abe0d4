#include "replies.h"

#include "protocol.h"

namespace velmo {
namespace {

// Length of the text without its leading and trailing blanks (code 32 only).
std::size_t TrimmedLength(std::string_view text) {
    const auto first = text.find_first_not_of(' ');
    if (first == std::string_view::npos) return 0;
    const auto last = text.find_last_not_of(' ');
    return last - first + 1;
}

}  // namespace

std::string_view ReplyMarker(std::string_view code) {
    if (code.starts_with(protocol::kAcknowledgement)) return protocol::kAcknowledgementMarker;
    if (code.starts_with(protocol::kSignalAnswer)) return protocol::kSignalMarker;
    if (code.starts_with(protocol::kSquelchAnswer)) return protocol::kSquelchMarker;
    return "";
}

std::vector<std::string> ReplyEntries(std::string_view reply) {
    const std::size_t examined = TrimmedLength(reply);
    std::string cleaned;
    cleaned.reserve(examined);
    for (std::size_t i = 0; i < examined; ++i) {
        const char c = reply[i];
        if (c != '\r' && c != '\n') cleaned.push_back(c);
    }

    const std::size_t usable = TrimmedLength(cleaned);
    std::vector<std::string> entries;
    entries.reserve(usable / 4 + 1);
    for (std::size_t i = 0; i < usable; i += 4) {
        const std::string_view code = std::string_view(cleaned).substr(i, std::min<std::size_t>(4, usable - i));
        std::string entry(ReplyMarker(code));
        entry.append(code);
        entries.push_back(std::move(entry));
    }
    return entries;
}

}  // namespace velmo
