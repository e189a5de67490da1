// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Shared set-up of the connection and dialogue tests: a temporary data folder with the shipped code
// tables, a recording host with short network deadlines, and the sockets of the test's connections.

#include "platform/Codepage.h"
#include "platform/Net.h"
#include "platform/Result.h"
#include "tests/support/PromptRecorder.h"
#include "tests/support/RecordingHost.h"
#include "tests/support/ScriptedServer.h"
#include "tests/support/TempDir.h"

#include <filesystem>
#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace zolbin::test {

class NetTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        const char* source = ZOLBIN_SOURCE_DIR;
        for (const char* name : {"1251-koi.cod", "1251-866.cod"})
            std::filesystem::copy_file(std::filesystem::path(source) / "data" / name,
                                       std::filesystem::path(dir.path()) / name);
        host.Deadlines.net.replyMs = 2000;
        host.Deadlines.net.connectMs = 2000;
        ASSERT_TRUE(host.journal.EnsureExists());
    }

    TempDataDir dir;
    PromptRecorder prompts;
    RecordingHost host{dir.folder()};
    net::Sockets sockets;
};

// A dialogue's outcome as the tests compare it: 0 accepted, -1 failed (reported), -3 a failure that ends
// the whole send command.
inline int DialogueCode(const Result<bool>& accepted)
{
    return !accepted ? -3 : accepted.value() ? 0 : -1;
}

// cp1251 bytes of a UTF-8 text.
inline std::string W(const char* utf8Text)
{
    return cp(utf8Text);
}

} // namespace zolbin::test
