// SPDX-License-Identifier: GPL-3.0-or-later
// The executable's own options, answered on the terminal without any window or display.

#include "app/CommandLine.h"
#include "app/DataFolderClaim.h"
#include "platform/FileLock.h"
#include "tests/support/TempDir.h"

#include <QProcess>
#include <QProcessEnvironment>
#include <filesystem>
#include <gtest/gtest.h>
#include <map>

namespace zolbin {
namespace {

struct ProgramRun
{
    int exitCode = -1;
    std::string out;
    std::string err;
};

// Runs the built program without a display, within a time limit.
ProgramRun runProgram(const QStringList& arguments)
{
    QProcess process;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.remove(QStringLiteral("DISPLAY"));
    env.remove(QStringLiteral("WAYLAND_DISPLAY"));
    env.remove(QStringLiteral("QT_QPA_PLATFORM"));
    process.setProcessEnvironment(env);
    process.start(QStringLiteral(ZOLBIN_EXE), arguments);
    ProgramRun run;
    if (!process.waitForFinished(10000)) {
        process.kill();
        process.waitForFinished(1000);
        return run;
    }
    run.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -2;
    run.out = process.readAllStandardOutput().toStdString();
    run.err = process.readAllStandardError().toStdString();
    return run;
}

TEST(StartupCommandLine, VersionAndHelpAnswerOnTheTerminalWithoutADisplay)
{
    const ProgramRun version = runProgram({QStringLiteral("--version")});
    EXPECT_EQ(version.exitCode, 0);
    EXPECT_EQ(version.out, "Zolbin Sender 2.0.1\n");

    const ProgramRun help = runProgram({QStringLiteral("--help")});
    EXPECT_EQ(help.exitCode, 0);
    EXPECT_NE(help.out.find("--data-dir"), std::string::npos);
    EXPECT_NE(help.out.find("--version"), std::string::npos);

    const ProgramRun missingFolder = runProgram({QStringLiteral("--data-dir")});
    EXPECT_EQ(missingFolder.exitCode, 2);
    EXPECT_NE(missingFolder.err.find("--data-dir"), std::string::npos);
}

// Without a display the program says so in Russian and ends with 2 before it creates anything; a wrong
// argument is a usage error that needs no display either.
TEST(StartupCommandLine, NoDisplayIsToldWithExitTwoAndNothingCreated)
{
    test::TempDataDir dir;
    const std::filesystem::path folder = std::filesystem::path(dir.path()) / "never";
    const ProgramRun run =
        runProgram({QStringLiteral("--data-dir"), QString::fromStdString(folder.string())});
    EXPECT_EQ(run.exitCode, 2);
    EXPECT_EQ(run.err, "zolbin: " + noGraphicalSessionText() + "\n");
    EXPECT_FALSE(std::filesystem::exists(folder));

    const ProgramRun bogus = runProgram({QStringLiteral("--bogus")});
    EXPECT_EQ(bogus.exitCode, 2);
    EXPECT_EQ(bogus.err.rfind("zolbin: неизвестный параметр --bogus\n", 0), 0u) << bogus.err;
    EXPECT_NE(bogus.err.find("--data-dir"), std::string::npos) << "the usage follows";

    const auto env = [](std::map<std::string, std::string> vars) {
        return [vars](const char* name) -> const char* {
            const auto found = vars.find(name);
            return found == vars.end() ? nullptr : found->second.c_str();
        };
    };
    const CommandLine plain = parseCommandLine({"zolbin"});
    EXPECT_FALSE(GraphicalSessionAvailable(plain, env({})));
    EXPECT_FALSE(GraphicalSessionAvailable(plain, env({{"DISPLAY", ""}})));
    EXPECT_TRUE(GraphicalSessionAvailable(plain, env({{"DISPLAY", ":0"}})));
    EXPECT_TRUE(GraphicalSessionAvailable(plain, env({{"WAYLAND_DISPLAY", "wayland-0"}})));
    EXPECT_TRUE(GraphicalSessionAvailable(plain, env({{"QT_QPA_PLATFORM", "offscreen"}})));
    EXPECT_FALSE(GraphicalSessionAvailable(plain, env({{"QT_QPA_PLATFORM", "wayland;xcb"}})));
    EXPECT_TRUE(
        GraphicalSessionAvailable(plain, env({{"QT_QPA_PLATFORM", "wayland;xcb"}, {"DISPLAY", ":1"}})));
    EXPECT_TRUE(GraphicalSessionAvailable(parseCommandLine({"zolbin", "-platform", "offscreen"}), env({})));
    EXPECT_TRUE(GraphicalSessionAvailable(parseCommandLine({"zolbin", "-display", ":1"}), env({})));
    EXPECT_FALSE(GraphicalSessionAvailable(parseCommandLine({"zolbin", "--platform", "xcb"}),
                                           env({{"QT_QPA_PLATFORM", "offscreen"}})));
}

TEST(StartupCommandLine, OwnOptionsAreTakenAndTheRestIsLeftForTheToolkit)
{
    CommandLine line =
        parseCommandLine({"zolbin", "-platform", "offscreen", "--data-dir", "d 1", "-style=x"});
    EXPECT_EQ(line.action, CommandLine::Action::Run);
    EXPECT_EQ(line.dataDir, "d 1");
    EXPECT_EQ(line.other, (std::vector<std::string>{"zolbin", "-platform", "offscreen", "-style=x"}));

    EXPECT_EQ(parseCommandLine({"zolbin", "--data-dir=/tmp/x"}).dataDir, "/tmp/x");
    EXPECT_EQ(parseCommandLine({"zolbin", "--data-dir="}).action, CommandLine::Action::Error);
    EXPECT_EQ(parseCommandLine({"zolbin", "--data-dir", "x", "--version"}).action,
              CommandLine::Action::Version);
    // Only the toolkit's own options are left for it; anything else is a usage error.
    EXPECT_EQ(parseCommandLine({"zolbin", "--style", "fusion", "-reverse", "--stylesheet=a.qss"}).action,
              CommandLine::Action::Run);
    for (const std::vector<std::string>& wrong :
         {std::vector<std::string>{"zolbin", "--bogus"}, {"zolbin", "stray"}, {"zolbin", "-platform"}}) {
        const CommandLine refused = parseCommandLine(wrong);
        EXPECT_EQ(refused.action, CommandLine::Action::Error) << wrong.back();
        EXPECT_EQ(refused.error, "неизвестный параметр " + wrong.back());
    }
}

TEST(StartupCommandLine, DataFolderIsCreatedWhenMissingAndTheWorkingDirectoryStays)
{
    test::TempDataDir dir;
    const std::filesystem::path working = std::filesystem::current_path();
    const std::filesystem::path target = std::filesystem::path(dir.path()) / "new" / "data";
    EXPECT_EQ(prepareDataDir(target.string()), "");
    EXPECT_TRUE(std::filesystem::is_directory(target));
    EXPECT_EQ(std::filesystem::current_path(), working);

    dir.write("plain-file", "x");
    EXPECT_NE(prepareDataDir(dir.file("plain-file")), "");
    EXPECT_EQ(std::filesystem::current_path(), working);
}

// A second window on a folder is refused while the first holds it; the hidden temporaries of saves cut
// short are removed only by the window that holds the folder, never under a running one.
TEST(StartupCommandLine, OneWindowPerDataFolderAndLeftoversGoOnlyWithTheLock)
{
    test::TempDataDir dir;
    const std::vector<std::string> leftovers = {".Abonent.lst.tmpAb3xZ9", ".Group.lst.tmp000000",
                                                ".Company.lst.tmpqwerty", ".Zolbin.ini.tmpZZZZZZ"};
    for (const std::string& name : leftovers)
        dir.write(name, "half of a save");
    dir.write("Abonent.lst", "kept");
    {
        FileLock firstWindow;
        ASSERT_EQ(firstWindow.take(dir.file(DataFolderLockName)), FileLock::Result::Taken);
        FileLock second;
        EXPECT_EQ(claimDataFolder(dir.folder(), second),
                  "Программа уже работает с папкой данных " + dir.path() +
                      ".\nВторое окно для той же папки не открывается.");
        for (const std::string& name : leftovers)
            EXPECT_TRUE(dir.exists(name)) << name;
    }
    FileLock window;
    EXPECT_EQ(claimDataFolder(dir.folder(), window), "");
    for (const std::string& name : leftovers)
        EXPECT_FALSE(dir.exists(name)) << name;
    EXPECT_EQ(dir.read("Abonent.lst"), "kept");
    FileLock another;
    EXPECT_EQ(claimDataFolder(dir.folder(), another), "Программа уже работает с папкой данных " + dir.path() +
                                                          ".\nВторое окно для той же папки не открывается.");
}

} // namespace
} // namespace zolbin
