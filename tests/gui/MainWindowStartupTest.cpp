// SPDX-License-Identifier: GPL-3.0-or-later
// Start-up of the main window: the files it creates, reads and leaves alone, damaged list files, and
// the start-up settings.

#include "app/MainWindow.h"
#include "app/Windows.h"
#include "directory/Lists.h"
#include "platform/Codepage.h"
#include "platform/ui/KeyboardLayout.h"
#include "tests/gui/MainWindowTestSupport.h"
#include "tests/support/FixedClock.h"
#include "tests/support/PromptRecorder.h"
#include "tests/support/TempDir.h"

#include <QPlainTextEdit>
#include <filesystem>
#include <gtest/gtest.h>
#include <set>

namespace zolbin {
namespace {

using test::PromptRecorder;
using test::TempDataDir;

TAbonent abonent(const char* name, std::int32_t number)
{
    TAbonent a;
    a.Name = cp(name);
    a.Number = number;
    a.MsgLen = 240;
    a.Provider = HomeProviderName();
    return a;
}

TProvider provider(const char* name)
{
    TProvider p = HomeProviderDefaults();
    p.Name = cp(name);
    return p;
}

std::vector<std::string> lines(const TickList* list)
{
    std::vector<std::string> out;
    for (int i = 0; i < list->count(); ++i)
        out.push_back(list->lineText(i).toStdString());
    return out;
}

class MainWindowStartup : public ::testing::Test
{
protected:
    static void SetUpTestSuite() { test::ensureApplication(); }
    void SetUp() override { KeyboardLayout::setIgnorePlatform(true); }
    void TearDown() override { KeyboardLayout::setIgnorePlatform(false); }

    // Prepared files: three subscribers, two groups, two companies.
    void prepareDirectory()
    {
        dir.write("Abonent.lst", abonent("Склад", 1234).encode() + abonent("Иванов", 77).encode() +
                                     abonent("Anna", 5).encode());
        TGroupList groups;
        for (const char* name : {"Смена", "Bosses"}) {
            auto g = std::make_shared<TGroup>();
            g->Name = cp(name);
            g->Members.Add(std::make_shared<TAbonent>(abonent("Anna", 5)));
            groups.Add(g);
        }
        ASSERT_TRUE(groups.SaveToFile(dir.file("Group.lst")));
        dir.write("Company.lst", HomeProviderDefaults().encode() + provider("Мегапейдж").encode());
    }

    TempDataDir dir;
    PromptRecorder prompts;
    test::FixedClock clock;
};

TEST_F(MainWindowStartup, FirstStartCreatesCompanyListAndJournalAndWritesNoSettings)
{
    const auto ticks = clock.tickCount();
    test::Program program(dir.folder());
    TfmSend& window = program.main();

    EXPECT_EQ(dir.read("Company.lst"), HomeProviderDefaults().encode());
    ASSERT_TRUE(dir.exists("Zolbin.log"));
    EXPECT_EQ(dir.read("Zolbin.log"), "");
    EXPECT_FALSE(dir.exists("Zolbin.ini"));
    EXPECT_FALSE(dir.exists("Abonent.lst"));
    EXPECT_FALSE(dir.exists("Group.lst"));
    EXPECT_TRUE(prompts.requests().empty());

    EXPECT_GE(clock.tickCount() - ticks, 1000u) << "the splash window waits at a first start";
    EXPECT_EQ(window.layoutName(), KeyboardLayout::Russian);
    EXPECT_EQ(KeyboardLayout::activeName(), KeyboardLayout::Russian);
    EXPECT_EQ(test::control<MessageEditor>(&window, "RichEdit")->font().pointSize(), 7);
    EXPECT_EQ(window.windowTitle(), QStringLiteral("Zolbin Sender"));
    EXPECT_EQ(program.session.providers.Count(), 1);
    EXPECT_EQ(test::control<TickList>(&window, "lbAbonent")->count(), 0);
    EXPECT_EQ(program.session.CurGroup, -1);
}

TEST_F(MainWindowStartup, PreparedListsFillTheCheckListsInFileOrderAndStayUnchanged)
{
    prepareDirectory();
    dir.write("Zolbin.ini", test::settingsFile(""));
    const std::string company = dir.read("Company.lst");
    const std::string abonents = dir.read("Abonent.lst");
    const std::string groups = dir.read("Group.lst");

    test::Program program(dir.folder());
    TfmSend& window = program.main();

    EXPECT_EQ(lines(test::control<TickList>(&window, "lbAbonent")),
              (std::vector<std::string>{"Склад -- 1234", "Иванов -- 77", "Anna -- 5"}));
    EXPECT_EQ(lines(test::control<TickList>(&window, "lbGroup")),
              (std::vector<std::string>{"Смена", "Bosses"}));
    for (TickList* list :
         {test::control<TickList>(&window, "lbAbonent"), test::control<TickList>(&window, "lbGroup")})
        for (int i = 0; i < list->count(); ++i) {
            EXPECT_TRUE(list->lines()->flags(list->lines()->index(i)) & Qt::ItemIsUserCheckable);
            EXPECT_FALSE(list->ticked(i));
        }
    EXPECT_EQ(program.session.providers.Count(), 2);
    EXPECT_EQ(dir.read("Company.lst"), company);
    EXPECT_EQ(dir.read("Abonent.lst"), abonents);
    EXPECT_EQ(dir.read("Group.lst"), groups);
    EXPECT_TRUE(prompts.requests().empty());
}

TEST_F(MainWindowStartup, DamagedSubscriberListIsCopiedAsideReportedOnceAndTheRestLoads)
{
    prepareDirectory();
    dir.write("Zolbin.ini", test::settingsFile(""));
    const std::string damaged = abonent("Склад", 1234).encode() + abonent("Иванов", 77).encode() +
                                abonent("Anna", 5).encode().substr(0, 100);
    dir.write("Abonent.lst", damaged);

    test::Program program(dir.folder());
    TfmSend& window = program.main();

    EXPECT_EQ(lines(test::control<TickList>(&window, "lbAbonent")),
              (std::vector<std::string>{"Склад -- 1234", "Иванов -- 77"}));
    EXPECT_EQ(program.session.abonents.Count(), 2);
    ASSERT_TRUE(dir.exists("Abonent.lst.bad"));
    EXPECT_EQ(dir.read("Abonent.lst.bad"), damaged);
    EXPECT_EQ(dir.read("Abonent.lst"), damaged);
    ASSERT_EQ(prompts.texts().size(), 1u);
    EXPECT_EQ(prompts.texts()[0], "Файл Abonent.lst повреждён (Read beyond end of file). Прочитанные записи "
                                  "загружены, копия файла сохранена как Abonent.lst.bad");
    EXPECT_EQ(lines(test::control<TickList>(&window, "lbGroup")),
              (std::vector<std::string>{"Смена", "Bosses"}));
    EXPECT_EQ(program.session.providers.Count(), 2);
}

// The names in a folder, to see that nothing was written into the working directory.
std::set<std::string> namesIn(const std::filesystem::path& folder)
{
    std::set<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder))
        names.insert(entry.path().filename().string());
    return names;
}

// One process, two windows on two data folders at once: each reads and rewrites the lists of its own
// folder, and neither looks at or changes the working directory.
TEST_F(MainWindowStartup, TwoWindowsOnTwoFoldersKeepTheirListsApartAndTheWorkingDirectoryAlone)
{
    prepareDirectory();
    dir.write("Zolbin.ini", test::settingsFile(""));
    TempDataDir other;
    other.write("Zolbin.ini", test::settingsFile(""));
    other.write("Abonent.lst", abonent("Zoe", 2).encode() + abonent("Bob", 1).encode());
    const std::filesystem::path working = std::filesystem::current_path();
    const std::set<std::string> workingNames = namesIn(working);

    test::Program first(dir.folder());
    test::Program second(other.folder());
    EXPECT_EQ(lines(test::control<TickList>(&first.main(), "lbAbonent")),
              (std::vector<std::string>{"Склад -- 1234", "Иванов -- 77", "Anna -- 5"}));
    EXPECT_EQ(lines(test::control<TickList>(&second.main(), "lbAbonent")),
              (std::vector<std::string>{"Zoe -- 2", "Bob -- 1"}));
    second.main().action(Command::SortByName)->trigger();

    EXPECT_EQ(other.read("Abonent.lst"), abonent("Bob", 1).encode() + abonent("Zoe", 2).encode());
    EXPECT_EQ(other.read("Company.lst"), HomeProviderDefaults().encode()) << "its first start";
    EXPECT_EQ(dir.read("Abonent.lst"),
              abonent("Склад", 1234).encode() + abonent("Иванов", 77).encode() + abonent("Anna", 5).encode());
    EXPECT_EQ(std::filesystem::current_path(), working);
    EXPECT_EQ(namesIn(working), workingNames);
    EXPECT_TRUE(prompts.requests().empty());
}

TEST_F(MainWindowStartup, CompanyListWithoutAWholeRecordStillHasTheHomeProviderFirst)
{
    dir.write("Zolbin.ini", test::settingsFile(""));
    const std::string damaged = HomeProviderDefaults().encode().substr(0, 200);
    dir.write("Company.lst", damaged);

    test::Program program(dir.folder());

    ASSERT_EQ(program.session.providers.Count(), 1);
    EXPECT_EQ(program.session.providers[0]->Name.str(), HomeProviderName());
    EXPECT_EQ(dir.read("Company.lst"), damaged);
    EXPECT_EQ(dir.read("Company.lst.bad"), damaged);
    EXPECT_EQ(prompts.requests().size(), 1u);
}

TEST_F(MainWindowStartup, JournalThatCannotBeCreatedIsReportedOnceAndStartUpGoesOn)
{
    // A data folder removed under the program's feet: no file can be created in it any more.
    const std::filesystem::path gone = std::filesystem::path(dir.path()) / "gone";
    std::filesystem::create_directory(gone);
    const DataFolder folder(gone.string());
    std::filesystem::remove(gone);

    test::Program program(folder);
    TfmSend& window = program.main();

    int journalMessages = 0;
    for (const std::string& text : prompts.texts())
        if (text.find("Zolbin.log") != std::string::npos)
            ++journalMessages;
    EXPECT_EQ(journalMessages, 1);
    EXPECT_EQ(program.session.providers.Count(), 1)
        << "the home provider is there even though its file failed";
    EXPECT_EQ(test::control<MessageEditor>(&window, "RichEdit")->font().pointSize(), 7)
        << "the steps after the journal ran";
}

TEST_F(MainWindowStartup, StartSettingsAreReadWithTheirExactFlagRules)
{
    {
        dir.write("Zolbin.ini", test::settingsFile("NoSplash=5\r\nLayout=2\r\nFontSize=12\r\n"));
        const auto ticks = clock.tickCount();
        test::Program program(dir.folder());
        TfmSend& window = program.main();
        EXPECT_EQ(clock.tickCount(), ticks) << "any non-zero NoSplash suppresses the splash";
        EXPECT_EQ(window.layoutName(), KeyboardLayout::English);
        EXPECT_EQ(KeyboardLayout::activeName(), KeyboardLayout::English);
        EXPECT_EQ(test::control<MessageEditor>(&window, "RichEdit")->font().pointSize(), 12);
    }
    {
        dir.write("Zolbin.ini", cp("[Setting]\r\nNoSplash=0\r\nLayout=0\r\n[Sender]\r\nEMail=a@b\r\n"));
        const auto ticks = clock.tickCount();
        test::Program program(dir.folder());
        TfmSend& window = program.main();
        EXPECT_GE(clock.tickCount() - ticks, 1000u);
        EXPECT_LT(clock.tickCount() - ticks, 2001u) << "the splash stays between one and two seconds";
        EXPECT_EQ(window.layoutName(), KeyboardLayout::Russian);
    }
}

} // namespace
} // namespace zolbin
