// SPDX-License-Identifier: GPL-3.0-or-later
// The choice of the data folder, the menu entry and the manual pages, checked against the program's own
// command line: a menu entry or a manual page that drifts from the options the program takes is a fault
// the user meets only after installing.

#include "app/CommandLine.h"
#include "tests/install/ProcessRun.h"

#include <fstream>
#include <gtest/gtest.h>
#include <map>
#include <regex>
#include <sstream>

namespace zolbin {
namespace {

const std::string SourceDir = ZOLBIN_SOURCE_DIR;

std::string readFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

// An environment made of the given variables only.
EnvironmentLookup environment(std::map<std::string, std::string> vars)
{
    return [vars = std::move(vars)](const char* name) -> const char* {
        const auto it = vars.find(name);
        return it == vars.end() ? nullptr : it->second.c_str();
    };
}

TEST(DataFolderChoice, DesktopStartUsesTheUsersDataFolderAndTheTerminalTheCurrentOne)
{
    const CommandLine desktop = parseCommandLine({"zolbin", "--desktop"});
    EXPECT_EQ(chooseDataDir(desktop, environment({{"XDG_DATA_HOME", "/x/data"}, {"HOME", "/home/op"}})),
              "/x/data/zolbin");
    EXPECT_EQ(chooseDataDir(desktop, environment({{"HOME", "/home/op"}})), "/home/op/.local/share/zolbin");
    // An empty or relative XDG_DATA_HOME is not a place: the default applies.
    EXPECT_EQ(chooseDataDir(desktop, environment({{"XDG_DATA_HOME", ""}, {"HOME", "/home/op"}})),
              "/home/op/.local/share/zolbin");
    EXPECT_EQ(chooseDataDir(desktop, environment({{"XDG_DATA_HOME", "rel/data"}, {"HOME", "/home/op"}})),
              "/home/op/.local/share/zolbin");
    // Nowhere to go: the current directory rather than a folder under "/".
    EXPECT_EQ(chooseDataDir(desktop, environment({})), "");

    const CommandLine terminal = parseCommandLine({"zolbin"});
    EXPECT_EQ(chooseDataDir(terminal, environment({{"XDG_DATA_HOME", "/x/data"}, {"HOME", "/home/op"}})), "");

    for (const auto& args : {std::vector<std::string>{"zolbin", "--desktop", "--data-dir", "/d"},
                             std::vector<std::string>{"zolbin", "--data-dir=/d", "--desktop"}})
        EXPECT_EQ(chooseDataDir(parseCommandLine(args), environment({{"XDG_DATA_HOME", "/x/data"}})), "/d");
}

TEST(MenuEntry, StartsTheProgramWithTheDesktopFlagAndNothingItWouldRefuse)
{
    const std::string entry = readFile(SourceDir + "/data/zolbin.desktop");
    std::smatch exec;
    ASSERT_TRUE(std::regex_search(entry, exec, std::regex("\nExec=([^\n]*)\n")));
    std::vector<std::string> args;
    std::istringstream words(exec[1].str());
    for (std::string word; words >> word;)
        args.push_back(word);
    const CommandLine line = parseCommandLine(args);
    EXPECT_EQ(line.action, CommandLine::Action::Run);
    EXPECT_TRUE(line.desktop);
    // Anything left over would reach the toolkit, which refuses what it does not know.
    EXPECT_EQ(line.other, std::vector<std::string>{"zolbin"});

    EXPECT_NE(entry.find("\nName=Zolbin Sender\n"), std::string::npos);
    EXPECT_NE(entry.find("\nIcon=zolbin\n"), std::string::npos);
}

TEST(ManualPage, DocumentsEveryOptionOfTheUsageTextAndFormatsCleanly)
{
    const std::string page = readFile(SourceDir + "/data/zolbin.1");
    ASSERT_FALSE(page.empty());
    const std::string usage = usageText();
    const std::regex option("--[a-z][a-z-]*");
    int options = 0;
    for (auto it = std::sregex_iterator(usage.begin(), usage.end(), option); it != std::sregex_iterator();
         ++it, ++options) {
        // In roff every '-' of an option is written "\-".
        const std::string roff = std::regex_replace(it->str(), std::regex("-"), "\\-");
        EXPECT_NE(page.find(roff), std::string::npos) << it->str() << " is not in zolbin.1";
    }
    EXPECT_GE(options, 4);

    if (!test::haveProgram(QStringLiteral("groff")))
        GTEST_SKIP() << "groff is not installed (package groff-base, installed by scripts/setup.sh)";
    for (const char* name : {"zolbin.1", "zolbin-send.1"}) {
        const std::string path = SourceDir + "/data/" + name;
        if (!std::ifstream(path))
            continue;
        const test::ProcessResult run =
            test::runProcess(QStringLiteral("groff"),
                             {QStringLiteral("-k"), QStringLiteral("-Tutf8"), QStringLiteral("-man"),
                              QStringLiteral("-ww"), QStringLiteral("-z"), QString::fromStdString(path)});
        EXPECT_TRUE(run.succeeded()) << run.describe();
        EXPECT_EQ(run.err, "") << name;
    }
}

} // namespace
} // namespace zolbin
