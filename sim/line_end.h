// SPDX-FileCopyrightText: 2026 The Velmo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace velmo::sim {

// How the receiver ends each answer: receivers are not all alike.
enum class LineEnd { CrLf, Cr, Lf, None };

// "crlf", "cr", "lf" or "none", as the command lines name them.
std::optional<LineEnd> ParseLineEnd(std::string_view name);
// The bytes that end an answer.
std::string_view LineEndBytes(LineEnd end);
// `answer` with its CR LF, if any, replaced by `end`.
std::string WithLineEnd(std::string answer, LineEnd end);

}  // namespace velmo::sim
