// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Shared by the integration tests: a whole Send command, driven through a recording host in a fresh data
// folder with the shipped code tables, against the real peers of tests/support/peers. The clock is fixed
// (7 December 2026, 09:30), so the program's pauses end at once and hold times are known.

#include "directory/Lists.h"
#include "directory/Records.h"
#include "dispatch/SendCommand.h"
#include "platform/Codepage.h"
#include "platform/Net.h"
#include "tests/support/FixedClock.h"
#include "tests/support/PromptRecorder.h"
#include "tests/support/RecordingHost.h"
#include "tests/support/TempDir.h"
#include "tests/support/peers/Peers.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <string>

namespace zolbin::test {

// cp1251 bytes of a UTF-8 text.
inline std::string W(const char* utf8Text)
{
    return cp(utf8Text);
}

// The bytes of a UTF-8 text in another character set, converted by the C library (independently of the
// program's own tables).
std::string Encoded(const char* charset, const std::string& utf8Text);
inline std::string Koi8(const std::string& utf8Text)
{
    return Encoded("KOI8-R", utf8Text);
}
inline std::string Cp866(const std::string& utf8Text)
{
    return Encoded("CP866", utf8Text);
}

// Skips the test when the peer's package is not installed; fails it when the peer did not start.
template <typename Peer> void RequirePeer(const Peer& peer)
{
    if (peer.state() == PeerProcess::State::Unavailable)
        GTEST_SKIP() << "protocol peer not installed (scripts/setup.sh installs it): " << peer.problem();
    ASSERT_EQ(peer.state(), PeerProcess::State::Ready) << peer.problem();
}

class PeerSendTest : public ::testing::Test
{
protected:
    void SetUp() override;

    // A company on 127.0.0.1; the charset is used for both gates.
    TProvider& addCompany(const std::string& name, std::uint8_t gate, std::uint16_t port,
                          const std::string& charset = "KOI8-R");
    static AbonentPtr subscriber(const std::string& name, int number, const std::string& company);
    void choose(const AbonentPtr& abonent);
    void chooseGroup(const std::vector<AbonentPtr>& members);

    SendOutcome send() { return SendCommand(host, params, group, groups, providers).Run(); }

    // The archive of a subscriber (name in UTF-8), cp1251 bytes.
    std::string archiveOf(const char* utf8Name) const
    {
        return dir.read("Log/" + std::string(utf8Name) + ".log");
    }

    TempDataDir dir;
    PromptRecorder prompts;
    RecordingHost host{dir.folder()};
    FixedClock clock{QDateTime(QDate(2026, 12, 7), QTime(9, 30))};
    TSendParams params;
    std::int16_t group = -1;
    TGroupList groups;
    TProviderList providers;
};

} // namespace zolbin::test
