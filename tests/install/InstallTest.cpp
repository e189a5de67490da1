// SPDX-License-Identifier: GPL-3.0-or-later
// `cmake --install` into a temporary prefix, then the installed programs as a user meets them: the files
// in place, the version, the code tables found in share/zolbin by the installed zolbin-send with a data
// folder that has none, the menu entry, and the data folder of a start from the desktop menu.

#include "directory/Lists.h"
#include "tests/install/ProcessRun.h"
#include "tests/support/Companies.h"
#include "tests/support/ScriptedServer.h"
#include "tests/support/TempDir.h"

#include <QImage>
#include <QProcess>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <iterator>
#include <thread>

namespace fs = std::filesystem;

namespace zolbin {
namespace {

// A fresh temporary folder with the build installed under prefix/ in it.
class InstalledTree : public ::testing::Test
{
protected:
    void SetUp() override
    {
        prefix = fs::path(root.path()) / "prefix";
        const test::ProcessResult run =
            test::runProcess(QStringLiteral(ZOLBIN_CMAKE),
                             {QStringLiteral("--install"), QStringLiteral(ZOLBIN_BUILD_DIR),
                              QStringLiteral("--prefix"), QString::fromStdString(prefix.string())},
                             120000);
        ASSERT_TRUE(run.succeeded()) << run.describe();
    }

    QString installed(const char* relative) const
    {
        return QString::fromStdString((prefix / relative).string());
    }

    // An empty folder under the temporary one.
    fs::path emptyFolder(const char* name) const
    {
        const fs::path dir = fs::path(root.path()) / name;
        fs::create_directories(dir);
        return dir;
    }

    test::TempDataDir root;
    fs::path prefix;
};

TEST_F(InstalledTree, HoldsTheProgramItsDataTheMenuEntryTheIconAndTheManualPages)
{
    for (const char* file :
         {"bin/zolbin", "share/zolbin/1251-koi.cod", "share/zolbin/1251-866.cod", "share/zolbin/zolbin.hlp",
          "share/applications/zolbin.desktop", "share/icons/hicolor/scalable/apps/zolbin.svg",
          "share/metainfo/example.zolbin.sender.metainfo.xml", "share/man/man1/zolbin.1.gz"})
        EXPECT_TRUE(fs::is_regular_file(prefix / file)) << file;
    // The icon at the sizes icon themes look for (48 x 48 at least, 16 to 256) and scalable.
    for (const int size : {16, 22, 24, 32, 48, 64, 128, 256}) {
        const std::string sized = std::to_string(size) + "x" + std::to_string(size);
        const fs::path icon = prefix / "share/icons/hicolor" / sized / "apps/zolbin.png";
        ASSERT_TRUE(fs::is_regular_file(icon)) << icon;
        EXPECT_EQ(QImage(QString::fromStdString(icon.string())).size(), QSize(size, size)) << icon;
    }
    // The program's own pictures of its commands, for a desktop without an icon theme.
    EXPECT_TRUE(fs::is_regular_file(prefix / "share/zolbin/icons/mail-send.svg"));
#ifdef ZOLBIN_HAVE_SEND
    EXPECT_TRUE(fs::is_regular_file(prefix / "bin/zolbin-send"));
    EXPECT_TRUE(fs::is_regular_file(prefix / "share/man/man1/zolbin-send.1.gz"));
    // The outbox's worker as a user service: the installed sender, working until stopped, on the data
    // folder the window uses, whether or not it exists yet.
    std::ifstream unit(prefix / "lib/systemd/user/zolbin-outbox.service");
    const std::string text{std::istreambuf_iterator<char>(unit), std::istreambuf_iterator<char>()};
    EXPECT_NE(
        text.find("\nExecStart=/bin/sh -c 'case \"$$XDG_DATA_HOME\" in /*) data=\"$$XDG_DATA_HOME\" ;; *) "
                  "data=\"$$HOME/.local/share\" ;; esac; exec zolbin-send --data-dir \"$$data/zolbin\" "
                  "--work-outbox --follow"),
        std::string::npos)
        << text;
    EXPECT_EQ(text.find("\nCondition"), std::string::npos) << text;
#endif

    const test::ProcessResult version =
        test::runProcess(installed("bin/zolbin"), {QStringLiteral("--version")}, 20000);
    EXPECT_TRUE(version.succeeded()) << version.describe();
    EXPECT_EQ(version.out, "Zolbin Sender 2.0.1\n");
}

// The installed programs look for the code tables beside themselves, in ../share/zolbin. A table that is
// not found leaves the text unconverted, so a wrong look-up would send KOI8-R pages in cp1251 without any
// error: the installed zolbin-send pages a KOI8-R company from a data folder that has no tables.
TEST_F(InstalledTree, InstalledSenderConvertsThroughTheInstalledCodeTables)
{
    if (!fs::exists(prefix / "bin/zolbin-send"))
        GTEST_SKIP() << "zolbin-send is not built in this tree";
    test::ScriptedServer server({{{"220 SNPP ready\r\n"},
                                  {test::Reply("250 OK\r\n"), test::Reply("250 OK\r\n"),
                                   test::Reply("250 OK\r\n"), test::Reply("221 OK\r\n")}}});
    const fs::path data = emptyFolder("data");
    TProviderList companies;
    companies.AddHomeProvider();
    companies.Add(
        std::make_shared<TProvider>(test::LoopbackCompany("Beeper", Gate::SNPP, server.port(), "KOI8-R")));
    ASSERT_TRUE(companies.SaveToFile((data / "Company.lst").string()));

    const test::ProcessResult run = test::runProcess(
        installed("bin/zolbin-send"),
        {QStringLiteral("--data-dir"), QString::fromStdString(data.string()), QStringLiteral("--number"),
         QStringLiteral("1234"), QStringLiteral("--company"), QStringLiteral("Beeper"),
         QStringLiteral("--no-signature"), QStringLiteral("--quiet"), QStringLiteral("Пейджер")},
        60000);
    EXPECT_TRUE(run.succeeded()) << run.describe();
    const std::vector<std::string> sessions = server.received();
    ASSERT_EQ(sessions.size(), 1u);
    EXPECT_NE(sessions[0].find("MESS \xF0\xC5\xCA\xC4\xD6\xC5\xD2"), std::string::npos) << sessions[0];
    EXPECT_FALSE(fs::exists(data / "1251-koi.cod"));
}

TEST_F(InstalledTree, MenuEntryPassesTheValidator)
{
    if (!test::haveProgram(QStringLiteral("desktop-file-validate")))
        GTEST_SKIP() << "desktop-file-validate is not installed (package desktop-file-utils, installed by "
                        "scripts/setup.sh)";
    const test::ProcessResult run = test::runProcess(QStringLiteral("desktop-file-validate"),
                                                     {installed("share/applications/zolbin.desktop")});
    EXPECT_TRUE(run.succeeded()) << run.describe();
    // Nothing to say: one main category, no hints, warnings or errors.
    EXPECT_EQ(run.out, "") << run.out;
}

TEST_F(InstalledTree, AppStreamMetainfoPassesTheValidator)
{
    if (!test::haveProgram(QStringLiteral("appstreamcli")))
        GTEST_SKIP() << "appstreamcli is not installed (package appstream, installed by scripts/setup.sh)";
    const test::ProcessResult run = test::runProcess(
        QStringLiteral("appstreamcli"), {QStringLiteral("validate"), QStringLiteral("--no-net"),
                                         installed("share/metainfo/example.zolbin.sender.metainfo.xml")});
    EXPECT_TRUE(run.succeeded()) << run.describe();
    EXPECT_EQ(run.out.find("W:"), std::string::npos) << run.out;
    EXPECT_EQ(run.out.find("E:"), std::string::npos) << run.out;
}

// Starts the installed program without a display and waits until its first start has created the
// company list and the journal in `expected` (the files every first start creates), then ends it.
void expectFirstStartIn(const QString& program, const QStringList& arguments, const QProcessEnvironment& env,
                        const fs::path& workingDirectory, const fs::path& expected)
{
    QProcess process;
    process.setProcessEnvironment(env);
    process.setWorkingDirectory(QString::fromStdString(workingDirectory.string()));
    process.start(program, arguments);
    ASSERT_TRUE(process.waitForStarted(10000));
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
    bool created = false;
    while (!created && std::chrono::steady_clock::now() < deadline && process.state() == QProcess::Running) {
        created = fs::exists(expected / "Company.lst") && fs::exists(expected / "Zolbin.log");
        if (!created)
            std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    const bool stillRunning = process.state() == QProcess::Running;
    process.kill();
    process.waitForFinished(5000);
    EXPECT_TRUE(created) << "no first start in " << expected << "\n"
                         << process.readAllStandardError().toStdString();
    EXPECT_TRUE(stillRunning) << "the program ended at start";
}

TEST_F(InstalledTree, DesktopStartWorksInTheUsersDataFolderAndATerminalStartInTheCurrentOne)
{
    const fs::path xdg = fs::path(root.path()) / "xdg" / "data"; // missing: made at the first start
    const fs::path launchedIn = emptyFolder("launched-in");
    QProcessEnvironment env = test::offscreenEnvironment();
    env.insert(QStringLiteral("XDG_DATA_HOME"), QString::fromStdString(xdg.string()));
    env.insert(QStringLiteral("HOME"), QString::fromStdString(emptyFolder("home").string()));

    expectFirstStartIn(installed("bin/zolbin"), {QStringLiteral("--desktop")}, env, launchedIn,
                       xdg / "zolbin");
    EXPECT_TRUE(fs::is_empty(launchedIn));

    expectFirstStartIn(installed("bin/zolbin"), {}, env, launchedIn, launchedIn);
}

} // namespace
} // namespace zolbin
