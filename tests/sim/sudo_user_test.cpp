// SPDX-FileCopyrightText: 2026 The Velmo developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Reading SUDO_UID and SUDO_GID: anything but a plain id is refused, and
// nothing malformed turns into 0 (root).
#include <gtest/gtest.h>

#include "sim/sudo_user.h"

namespace velmo::sim {
namespace {

TEST(ParseId, TakesOnlyWholeDecimalIds) {
    struct Case {
        const char* text;
        std::optional<std::uint32_t> id;
    };
    const Case cases[] = {
        {"1000", 1000u},
        {"0", 0u},
        {"65534", 65534u},
        {"007", 7u},
        {"4294967294", 4294967294u},
        {"4294967295", std::nullopt},  // (uid_t)-1: "leave unchanged" to setresuid
        {"4294967296", std::nullopt},
        {"99999999999999999999", std::nullopt},
        {"", std::nullopt},
        {"abc", std::nullopt},
        {"1000abc", std::nullopt},
        {"-1", std::nullopt},
        {"+1000", std::nullopt},
        {" 1000", std::nullopt},
        {"1000 ", std::nullopt},
        {"0x10", std::nullopt},
        {"1e3", std::nullopt},
        {"10.0", std::nullopt},
    };
    for (const auto& c : cases) EXPECT_EQ(ParseId(c.text), c.id) << '"' << c.text << '"';
}

TEST(SudoUserFrom, NeedsBothIdsWellFormed) {
    EXPECT_TRUE(std::holds_alternative<NotUnderSudo>(SudoUserFrom(nullptr, nullptr)));

    const auto user = SudoUserFrom("1000", "1001");
    ASSERT_TRUE(std::holds_alternative<SudoUser>(user));
    EXPECT_EQ(std::get<SudoUser>(user).uid, 1000u);
    EXPECT_EQ(std::get<SudoUser>(user).gid, 1001u);

    const char* const bad[][2] = {
        {"1000", nullptr}, {nullptr, "1000"},      {"abc", "1000"}, {"1000", "abc"},
        {"", "1000"},      {"4294967296", "1000"}, {"1000", "-1"},
    };
    for (const auto& ids : bad) {
        const auto got = SudoUserFrom(ids[0], ids[1]);
        EXPECT_TRUE(std::holds_alternative<std::string>(got))
            << (ids[0] ? ids[0] : "(unset)") << ", " << (ids[1] ? ids[1] : "(unset)");
    }
    const auto message = SudoUserFrom("abc", "1000");
    ASSERT_TRUE(std::holds_alternative<std::string>(message));
    EXPECT_NE(std::get<std::string>(message).find("'abc'"), std::string::npos);
}

}  // namespace
}  // namespace velmo::sim
