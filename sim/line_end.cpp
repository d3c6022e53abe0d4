// SPDX-FileCopyrightText: 2026 The Velmo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "sim/line_end.h"

namespace velmo::sim {

std::optional<LineEnd> ParseLineEnd(std::string_view name) {
    if (name == "crlf") return LineEnd::CrLf;
    if (name == "cr") return LineEnd::Cr;
    if (name == "lf") return LineEnd::Lf;
    if (name == "none") return LineEnd::None;
    return std::nullopt;
}

std::string_view LineEndBytes(LineEnd end) {
    switch (end) {
        case LineEnd::CrLf: return "\r\n";
        case LineEnd::Cr: return "\r";
        case LineEnd::Lf: return "\n";
        case LineEnd::None: return "";
    }
    return "\r\n";
}

std::string WithLineEnd(std::string answer, LineEnd end) {
    if (!answer.ends_with("\r\n")) return answer;
    answer.resize(answer.size() - 2);
    answer += LineEndBytes(end);
    return answer;
}

}  // namespace velmo::sim
