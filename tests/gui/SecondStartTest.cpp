// SPDX-License-Identifier: GPL-3.0-or-later
// A second start on the data folder of a running window: the real program started again on the folder
// brings the running window forward, restored, and ends with 0; where no window answers (another
// user's process holding the folder) nothing answers the call, and the start is refused with the message
// as before.

#include "app/DataFolderClaim.h"
#include "app/MainWindow.h"
#include "app/RunningWindow.h"
#include "platform/FileLock.h"
#include "tests/gui/MainWindowTestSupport.h"
#include "tests/support/PromptRecorder.h"
#include "tests/support/TempDir.h"

#include <QProcess>
#include <QProcessEnvironment>
#include <gtest/gtest.h>

namespace zolbin {
namespace {

struct SecondStart
{
    int exitCode = -1;
    std::string err;
};

// The program started again on the folder, offscreen; the test's window answers from its event loop
// meanwhile.
SecondStart startAgain(const std::string& folder)
{
    QProcess process;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    process.setProcessEnvironment(env);
    process.start(QStringLiteral(ZOLBIN_EXE), {QStringLiteral("--data-dir"), QString::fromStdString(folder)});
    SecondStart run;
    for (int waited = 0; process.state() != QProcess::NotRunning && waited < 20000; waited += 20)
        QTest::qWait(20);
    if (process.state() != QProcess::NotRunning) {
        process.kill();
        process.waitForFinished(1000);
        return run;
    }
    run.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -2;
    run.err = process.readAllStandardError().toStdString();
    return run;
}

TEST(SecondStart, BringsTheRunningWindowForwardAndRefusesOnlyWhereNoneAnswers)
{
    test::ensureApplication();
    test::TempDataDir dir;
    dir.write("Zolbin.ini", test::settingsFile(""));
    test::PromptRecorder prompts;
    FileLock lock;
    ASSERT_EQ(claimDataFolder(dir.folder(), lock), "");
    {
        test::Program program(dir.folder());
        TfmSend& w = program.main();
        ASSERT_TRUE(test::showActive(&w));
        RunningWindow running([&w] { w.BringForward(); });
        ASSERT_TRUE(running.listen(RunningWindowSocket(dir.folder())));
        w.showMinimized();
        ASSERT_TRUE(w.isMinimized());

        const SecondStart again = startAgain(dir.path());
        EXPECT_EQ(again.exitCode, 0) << again.err;
        EXPECT_EQ(again.err.find("zolbin:"), std::string::npos) << again.err;
        EXPECT_TRUE(w.isVisible());
        EXPECT_FALSE(w.isMinimized());

        // Hidden in the notification area: it comes back from there too.
        w.hide();
        EXPECT_EQ(startAgain(dir.path()).exitCode, 0);
        EXPECT_TRUE(w.isVisible());
        EXPECT_FALSE(w.isMinimized());
    }
    // The folder held, nobody answering (the program then shows its refusal, as before).
    EXPECT_FALSE(RunningWindow::askToComeForward(RunningWindowSocket(dir.folder()), 500));
    EXPECT_TRUE(prompts.requests().empty()) << "the test's own window showed nothing";
}

} // namespace
} // namespace zolbin
