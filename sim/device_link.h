// SPDX-FileCopyrightText: 2026 The Velmo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <optional>
#include <ostream>
#include <stdexcept>
#include <string>
#include <string_view>

namespace velmo::sim {

// Whether a symlink's target is one velmo-sim makes: a terminal under
// /dev/pts. Such a link that no running velmo-sim holds was left behind by
// one that was killed, and may since point at someone else's terminal.
bool IsSimulatorTarget(std::string_view target);

// The symlink that gives the simulator's terminal the name a program looks
// for, e.g. /dev/velmo1 for Velmo_1.
//
// The name is never missing while it is being replaced (a link is made
// under a temporary name and swapped into place), nothing at the path is
// ever followed, and only these are replaced:
//  - a link left behind by a simulator (IsSimulatorTarget) that no running
//    velmo-sim holds;
//  - with `force`, any other symlink (the real receiver's udev link, say):
//    it is put back when this object goes.
// Anything else, or a name that another velmo-sim holds, is refused.
//
// While the object lives it holds the name against other simulators; the
// hold ends with the process, however it ends.
class DeviceLink {
public:
    // Why the link could not be made, in words for the user.
    struct Refused : std::runtime_error {
        using std::runtime_error::runtime_error;
    };

    // Makes `path` a symlink to `target`. `notes` is told when an old link
    // is taken over or forced aside.
    DeviceLink(const std::string& path, const std::string& target, bool force, std::ostream& notes);
    // Removes the link if it is still the one made here (or puts back the
    // link that `force` replaced); a name changed since is left alone.
    ~DeviceLink();
    DeviceLink(const DeviceLink&) = delete;
    DeviceLink& operator=(const DeviceLink&) = delete;

private:
    bool Place(const std::string& target, bool force, std::ostream& notes);
    bool SwapIn(const std::string& expected_old, const std::string& target);
    std::string MakeTemporaryLink(const std::string& target);
    std::optional<std::string> TargetOf(const std::string& name) const;

    std::string path_;
    std::string name_;  // the last part of the path
    std::string target_;
    int folder_ = -1;
    int hold_ = -1;
    bool made_ = false;
    std::optional<std::string> put_back_;
};

}  // namespace velmo::sim
