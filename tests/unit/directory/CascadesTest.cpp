// SPDX-License-Identifier: GPL-3.0-or-later
// Deleting subscribers, groups and paging companies: what else changes in memory and on disk.

#include "directory/Cascades.h"

#include "directory/Lists.h"
#include "directory/Settings.h"
#include "platform/Codepage.h"
#include "platform/ProfileFile.h"
#include "tests/support/PromptRecorder.h"
#include "tests/support/TempDir.h"
#include "tests/unit/directory/Bytes.h"

#include <gtest/gtest.h>

namespace zolbin {
namespace {

using test::abonentBytes;
using test::groupHeader;

AbonentPtr abonent(const char* name, std::int32_t number, const char* company = "")
{
    auto a = std::make_shared<TAbonent>();
    a->Name = cp(name);
    a->Number = number;
    a->MsgLen = 240;
    a->Provider = cp(company);
    return a;
}

GroupPtr group(const char* name, std::initializer_list<AbonentPtr> members)
{
    auto g = std::make_shared<TGroup>();
    g->Name = cp(name);
    for (const AbonentPtr& m : members)
        g->Members.Add(m);
    return g;
}

ProviderPtr company(const char* name)
{
    auto p = std::make_shared<TProvider>(HomeProviderDefaults());
    p->Name = cp(name);
    return p;
}

TEST(AbonentRemoval, LeavesEveryGroupHoldingItAndRewritesBothFiles)
{
    test::TempDataDir dir;
    TAbonentList abonents;
    abonents.Add(abonent("Анна", 1));
    abonents.Add(abonent("Борис", 2));
    TGroupList groups;
    groups.Add(group("Оба", {abonents[0], abonents[1]}));
    groups.Add(group("Один", {abonents[1]}));
    groups.Add(group("Другие", {abonents[0]}));

    int refills = 0;
    const Result<std::string> removed = RemoveAbonent(dir.folder(), abonents, groups, 1, [&] {
        ++refills;
        EXPECT_EQ(abonents.Count(), 1) << "the list is shown once the subscriber has left it";
        EXPECT_FALSE(dir.exists("Abonent.lst")) << "and before any file is written";
    });

    ASSERT_TRUE(removed);
    EXPECT_EQ(removed.value(), cp("Борис"));
    EXPECT_EQ(refills, 1);
    EXPECT_EQ(dir.read("Abonent.lst"), abonentBytes(cp("Анна"), 1));
    // The group left without members stays, with a count of 0.
    EXPECT_EQ(dir.read("Group.lst"), groupHeader(cp("Оба"), 1) + abonentBytes(cp("Анна"), 1) +
                                         groupHeader(cp("Один"), 0) + groupHeader(cp("Другие"), 1) +
                                         abonentBytes(cp("Анна"), 1));
}

struct ProviderRemovalTest : ::testing::Test
{
    ProviderRemovalTest()
    {
        providers.AddHomeProvider();
        providers.Add(company("Связь"));
        providers.Add(company("Другая"));
        abonents.Add(abonent("Анна", 1, "Связь"));
        abonents.Add(abonent("Борис", 2, "Другая"));
        abonents.Add(abonent("Вера", 3, "Связь"));
        settings.Company = cp("Другая");
        dir.write("Zolbin.ini", iniBefore);
    }

    // The outcome of a deletion that must not fail (a failure ends the test with an exception). Every
    // question is recorded and answered from `answer`.
    ProviderRemoval remove(int index)
    {
        const Confirm confirm = [this](const Text& caption, const Text& text) {
            questions.push_back({utf8(caption.russian()), utf8(text.russian())});
            return answer;
        };
        return RemoveProvider(dir.folder(), providers, abonents, index, settings, file, confirm).value();
    }

    struct Question
    {
        std::string caption, text; // UTF-8
    };

    test::TempDataDir dir;
    test::PromptRecorder prompts;
    std::vector<Question> questions;
    bool answer = false;
    const std::string iniBefore = cp("[Setting]\r\nCompany=Другая\r\nTray=1\r\n");
    TProviderList providers;
    TAbonentList abonents;
    TSettings settings;
    ProfileFile file{dir.file("Zolbin.ini")};
};

TEST_F(ProviderRemovalTest, HomeProviderRefusedAndUsedCompanyAnsweredNoChangeNothing)
{
    providers[0]->Name = cp("Переименованная"); // position 0 is refused whatever its name
    EXPECT_EQ(remove(0), ProviderRemoval::Refused);
    EXPECT_EQ(utf8(HomeProviderRefusal().russian()), "Нельзя удалить родную пейдж. компанию");
    EXPECT_TRUE(questions.empty());

    EXPECT_EQ(remove(1), ProviderRemoval::Kept);
    ASSERT_EQ(questions.size(), 1u);
    EXPECT_EQ(questions[0].caption, "Подтверждение");
    EXPECT_EQ(questions[0].text, "Есть абоненты, работающие через данную пейдж. компанию. Удалять?");
    EXPECT_TRUE(prompts.requests().empty()) << "the window asks";

    EXPECT_EQ(providers.Count(), 3);
    EXPECT_EQ(abonents[0]->Provider.str(), cp("Связь"));
    EXPECT_EQ(settings.Company, cp("Другая"));
    EXPECT_EQ(dir.read("Zolbin.ini"), iniBefore);
    EXPECT_FALSE(dir.exists("Company.lst"));
    EXPECT_FALSE(dir.exists("Abonent.lst"));
}

TEST_F(ProviderRemovalTest, UsedCompanyAnsweredYesClearsItsSubscribersAndResetsTheDefault)
{
    answer = true;
    EXPECT_EQ(remove(1), ProviderRemoval::Removed);

    EXPECT_EQ(providers.Names(), (std::vector<std::string>{HomeProviderName(), cp("Другая")}));
    // The whole field is zero on disk, not just its first byte.
    EXPECT_EQ(dir.read("Abonent.lst"), abonentBytes(cp("Анна"), 1) +
                                           abonentBytes(cp("Борис"), 2, cp("Другая")) +
                                           abonentBytes(cp("Вера"), 3));
    EXPECT_EQ(dir.read("Company.lst").size(), 2 * TProvider::RecordSize);
    // The default company was "Другая", which still exists: it is reset all the same.
    EXPECT_EQ(settings.Company, HomeProviderName());
    EXPECT_EQ(dir.read("Zolbin.ini"), cp("[Setting]\r\nCompany=") + HomeProviderName() + "\r\nTray=1\r\n");
}

} // namespace
} // namespace zolbin
