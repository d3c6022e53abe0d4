#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace velmo {

// The marker that goes in front of a reply code in the list of replies:
// "G0" acknowledgements, "I1" signal readings and "I0" squelch readings each
// get their own arrow; anything else is listed as it came.
std::string_view ReplyMarker(std::string_view code);

// Cuts received text into list entries: line endings are removed, the rest
// is cut into 4-character codes from the start (the last one may be
// shorter), each with its marker. Leading and trailing blanks shorten the
// part examined, as the receiver's replies carry none.
std::vector<std::string> ReplyEntries(std::string_view reply);

}  // namespace velmo
