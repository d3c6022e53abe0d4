// SPDX-FileCopyrightText: 2026 The Velmo developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The in-process link: the port's state, what is lost while it is closed,
// its errors and faults.
#include <gtest/gtest.h>

#include "sim/simulated_link.h"
#include "virtual_clock.h"

namespace velmo::sim {
namespace {

using std::chrono::milliseconds;

class SimulatedLinkTest : public ::testing::Test {
protected:
    testing::VirtualClock clock;
    SimulatedLink link{clock};

    void After(milliseconds ms) { clock.Advance(ms); }
};

TEST_F(SimulatedLinkTest, ConfigureIsKeptForTheNextOpen) {
    link.Configure(2, "9600,N,8,1", 0);
    EXPECT_EQ(link.port(), 2);
    EXPECT_EQ(link.settings(), "9600,N,8,1");
    EXPECT_EQ(link.input_length(), 0);
    EXPECT_FALSE(link.IsOpen());
}

TEST_F(SimulatedLinkTest, AReplyLaterThanTheTenMsPauseComesWithTheNextRead) {
    link.Open();
    link.Write("H101\r\n");
    After(milliseconds(10));
    // 6 bytes out, 3 ms, 6 bytes back: 15.5 ms.
    EXPECT_EQ(link.ReadAll(), "");
    After(milliseconds(6));
    EXPECT_EQ(link.ReadAll(), "G000\r\n");
    EXPECT_EQ(link.ReadAll(), "");
}

TEST_F(SimulatedLinkTest, ClosingThePortDoesNotSwitchTheReceiver) {
    link.Open();
    link.Write("H101\r\n");
    After(milliseconds(20));
    link.Close();
    After(milliseconds(20));
    EXPECT_TRUE(link.Model().State().on);
    link.Open();
    link.Write("H100\r\n");
    After(milliseconds(20));
    EXPECT_FALSE(link.Model().State().on);
}

TEST_F(SimulatedLinkTest, WhatArrivesWhileClosedIsLost) {
    link.Open();
    link.Write("H101\r\n");
    After(milliseconds(10));
    link.Close();  // the G000 is still on its way
    After(milliseconds(100));
    link.Open();
    EXPECT_EQ(link.ReadAll(), "");
    link.Write("I0?\r\n");
    After(milliseconds(100));
    EXPECT_EQ(link.ReadAll(), "I007\r\n");
}

TEST_F(SimulatedLinkTest, MisuseOfThePortThrowsSerialError) {
    EXPECT_THROW(link.Write("H101\r\n"), SerialError);
    EXPECT_THROW(link.ReadAll(), SerialError);
    EXPECT_THROW(link.Close(), SerialError);
    link.Open();
    EXPECT_THROW(link.Open(), SerialError);
    EXPECT_THROW(link.Configure(1, "9600,N,8,1", 0), SerialError);
}

TEST_F(SimulatedLinkTest, OpenErrorFaultCarriesItsDescription) {
    link.SetOpenError("No such file or directory");
    try {
        link.Open();
        FAIL() << "Open should have thrown";
    } catch (const SerialError& e) {
        EXPECT_STREQ(e.what(), "No such file or directory");
    }
    EXPECT_FALSE(link.IsOpen());
    link.SetOpenError(std::nullopt);
    link.Open();
    EXPECT_TRUE(link.IsOpen());
}

TEST_F(SimulatedLinkTest, NeverAnswerFaultLeavesReadsEmpty) {
    link.SetNeverAnswer(true);
    link.Open();
    link.Write("H101\r\nI1?\r\n");
    After(milliseconds(500));
    EXPECT_EQ(link.ReadAll(), "");
    EXPECT_TRUE(link.Model().State().on);
}

TEST_F(SimulatedLinkTest, NextDueLetsAVirtualDriverStopAtTheNextByte) {
    link.Open();
    link.Write("H101\r\n");
    std::string got;
    int stops = 0;
    while (auto due = link.NextDue()) {
        clock.RunUntil(*due);
        got += link.ReadAll();
        ++stops;
    }
    EXPECT_EQ(got, "G000\r\n");
    EXPECT_LE(stops, 13);  // 6 bytes in, the answer, 6 bytes out
}

}  // namespace
}  // namespace velmo::sim
