// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Shared by the main window's send tests: the code tables and settings in the test's data folder, short
// network deadlines, a fixed clock, the program started on the directory written, and an SNPP session
// that accepts a page.

#include "app/MainWindow.h"
#include "platform/Net.h"
#include "tests/gui/MainWindowTestSupport.h"
#include "tests/support/FixedClock.h"
#include "tests/support/PromptRecorder.h"
#include "tests/support/ScriptedServer.h"
#include "tests/support/TempDir.h"

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

namespace zolbin::test {

inline ScriptedSession snppOk(std::vector<std::string> greeting = {"220 SNPP\r\n"})
{
    ScriptedSession s{std::move(greeting), {}};
    for (int i = 0; i < 4; ++i) // PAGE, MESS, SEND, QUIT
        s.replies.push_back(Reply("250 OK\r\n"));
    return s;
}

class SendWindowTest : public ::testing::Test
{
protected:
    explicit SendWindowTest(int deadlineMs) : deadlineMs_(deadlineMs) {}

    static void SetUpTestSuite() { ensureApplication(); }
    void SetUp() override
    {
        for (const char* name : {"1251-koi.cod", "1251-866.cod"})
            std::filesystem::copy_file(std::filesystem::path(ZOLBIN_SOURCE_DIR) / "data" / name,
                                       dir.file(name));
        dir.write("Zolbin.ini", settingsFile("Clear=1\r\n"));
    }

    // The program as main() builds it, on the directory written; its main window shown active.
    bool startProgram()
    {
        program = std::make_unique<Program>(dir.folder());
        w = &program->main();
        SendDeadlines deadlines;
        deadlines.net.connectMs = deadlineMs_;
        deadlines.net.replyMs = deadlineMs_;
        w->sends().setDeadlines(deadlines);
        RichEdit = control<MessageEditor>(w, "RichEdit");
        return showActive(w);
    }

    TempDataDir dir;
    PromptRecorder prompts;
    FixedClock clock;
    std::unique_ptr<Program> program;
    TfmSend* w = nullptr;
    MessageEditor* RichEdit = nullptr;

private:
    int deadlineMs_;
};

} // namespace zolbin::test
