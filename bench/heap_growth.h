// SPDX-FileCopyrightText: 2026 The Velmo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <cstdint>
#include <optional>
#include <vector>

namespace velmo::bench {

// The live heap at the top of one pass of a long scan.
struct HeapSample {
    double seconds = 0;
    std::int64_t live_bytes = 0;
};

// How fast the live heap grows over a long scan, in bytes an hour: the
// highest sample of the run's second half against the highest of its
// first, over the time between the halves' middles. Caches that are full
// only once a rare paint has come by (Qt's gradients and glyphs, the
// display's glyph pictures) step up once and stay; a fitted slope counts
// such a step early in the run as growth for the whole run, where the
// halves' peaks count it only if it comes late. Growth that goes on
// raises the second peak above the first all the same. None with fewer
// than two samples in either half.
std::optional<double> HeapGrowthPerHour(const std::vector<HeapSample>& samples);

// The least-squares slope of the samples, in bytes an hour.
double HeapSlopePerHour(const std::vector<HeapSample>& samples);

}  // namespace velmo::bench
