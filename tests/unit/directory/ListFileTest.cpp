// SPDX-License-Identifier: GPL-3.0-or-later
#include "directory/Lists.h"
#include "platform/Codepage.h"
#include "platform/IoError.h"
#include "platform/ProfileFile.h"
#include "tests/support/PromptRecorder.h"
#include "tests/support/TempDir.h"
#include "tests/support/Unprivileged.h"
#include "tests/unit/directory/Bytes.h"
#include "tests/unit/platform/FileSizeLimit.h"

#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <functional>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace fs = std::filesystem;

namespace zolbin {
namespace {

using test::abonentBytes;
using test::groupHeader;

AbonentPtr abonent(const std::string& name, std::int32_t number)
{
    auto a = std::make_shared<TAbonent>();
    a->Name = name;
    a->Number = number;
    a->MsgLen = 240;
    return a;
}

// Expects the result to be a failure with the given I/O code.
void expectIoError(int code, const Status& result)
{
    ASSERT_FALSE(result) << "no failure";
    EXPECT_EQ(result.failure().code, code);
}

// --- Loading -----------------------------------------------------------------------------------------

TEST(AbonentFile, LoadAppendsEveryRecordInFileOrder)
{
    test::TempDataDir dir;
    const std::string name25 = "ABCDEFGHIJKLMNOPQRSTUVWXY";
    dir.write("Abonent.lst", abonentBytes(cp("Склад"), 1234, "P", 1, 20, "info") + abonentBytes(name25, -5));
    TAbonentList list;
    list.Add(abonent("already here", 1));
    ASSERT_TRUE(list.LoadFromFile(dir.file("Abonent.lst")));
    ASSERT_EQ(list.Count(), 3);
    EXPECT_EQ(list[1]->Numeric, 1);
    EXPECT_EQ(list[1]->MsgLen, 20);
    EXPECT_EQ(list[2]->Name.str(), name25);
    EXPECT_EQ(list.IndexOfName(name25), 2);
    EXPECT_EQ(list.DisplayLines()[1], cp("Склад -- 1234"));
    EXPECT_EQ(list.DisplayLines()[2], name25 + " -- -5");
}

TEST(AbonentFile, EmptyFileGivesAnEmptyList)
{
    test::TempDataDir dir;
    dir.write("Abonent.lst", "");
    TAbonentList list;
    EXPECT_TRUE(list.LoadFromFile(dir.file("Abonent.lst")));
    EXPECT_EQ(list.Count(), 0);
}

TEST(AbonentFile, FileEndingInsideARecordKeepsTheCompleteOnes)
{
    test::TempDataDir dir;
    dir.write("Abonent.lst", abonentBytes("First", 1) + std::string(10, 'x')); // 230 bytes
    TAbonentList list;
    expectIoError(100, list.LoadFromFile(dir.file("Abonent.lst")));
    ASSERT_EQ(list.Count(), 1);
    EXPECT_EQ(list[0]->Name.str(), "First");
}

TEST(AbonentFile, FileThatCannotBeOpenedFailsAndLeavesTheList)
{
    test::TempDataDir dir;
    test::PromptRecorder prompts;
    TAbonentList list;
    list.Add(abonent("kept", 1));
    const Status missing = list.LoadFromFile(dir.file("Abonent.lst"));
    EXPECT_FALSE(missing);
    fs::create_directory(dir.file("Company.lst"));
    TProviderList providers;
    const Status folder = providers.LoadFromFile(dir.file("Company.lst"));
    EXPECT_FALSE(folder);
    EXPECT_EQ(list.Count(), 1);
    EXPECT_EQ(providers.Count(), 0);
    EXPECT_EQ(utf8(missing.failure().russian()), "Файл не найден");
    EXPECT_EQ(folder.failure().russian(), "File access denied");
    EXPECT_FALSE(IsDamagedListFile(missing.failure()));
    EXPECT_FALSE(IsDamagedListFile(folder.failure()));
    EXPECT_TRUE(prompts.requests().empty()) << "the host tells of it";
}

TEST(CompanyFile, LoadSaveRoundTripAndPartialRecord)
{
    test::TempDataDir dir;
    TProviderList list;
    list.AddHomeProvider();
    auto other = std::make_shared<TProvider>();
    other->Name = "WinCo";
    other->SNPPEnc = "WIN-1251";
    other->SnppPswd = "pw";
    list.Add(other);
    ASSERT_TRUE(list.SaveToFile(dir.file("Company.lst")));
    const std::string bytes = dir.read("Company.lst");
    ASSERT_EQ(bytes.size(), 2 * 292u);
    EXPECT_EQ(bytes.substr(0, 292), HomeProviderDefaults().encode());

    TProviderList back;
    ASSERT_TRUE(back.LoadFromFile(dir.file("Company.lst")));
    ASSERT_EQ(back.Count(), 2);
    EXPECT_EQ(back[1]->SNPPEnc.str(), "WIN-1251");
    EXPECT_EQ(back[1]->SnppPswd.str(), "pw");

    dir.write("Company.lst", bytes + std::string(291, '\0'));
    TProviderList partial;
    expectIoError(100, partial.LoadFromFile(dir.file("Company.lst")));
    EXPECT_EQ(partial.Count(), 2);
}

TEST(GroupFile, LoadsNamesCountsAndMembers)
{
    test::TempDataDir dir;
    const std::string name25 = "Group name of 25 letters!";
    ASSERT_EQ(name25.size(), 25u);
    dir.write("Group.lst", groupHeader(cp("Склад"), 2) + abonentBytes("A", 1) + abonentBytes("B", 2) +
                               groupHeader(name25, 0) + groupHeader("Last", 1) + abonentBytes("C", 3));
    TGroupList groups;
    ASSERT_TRUE(groups.LoadFromFile(dir.file("Group.lst")));
    ASSERT_EQ(groups.Count(), 3);
    EXPECT_EQ(groups[0]->Name.str(), cp("Склад"));
    ASSERT_EQ(groups[0]->Members.Count(), 2);
    EXPECT_EQ(groups[0]->Members[1]->Number, 2);
    EXPECT_EQ(groups[1]->Name.str(), name25);
    EXPECT_EQ(groups[1]->Members.Count(), 0);
    EXPECT_EQ(groups[2]->Members[0]->Name.str(), "C");

    ASSERT_TRUE(groups.SaveToFile(dir.file("Copy.lst")));
    EXPECT_EQ(dir.read("Copy.lst"), dir.read("Group.lst"));
}

TEST(GroupFile, DamagedCountsFailWithoutAllocatingOrAppending)
{
    test::TempDataDir dir;
    const std::string good = groupHeader("Good", 1) + abonentBytes("A", 1);
    struct Case
    {
        const char* what;
        std::string tail;
    };
    const Case cases[] = {
        {"negative count", groupHeader("Neg", -1) + abonentBytes("B", 2)},
        {"huge count", groupHeader("Huge", 0x7FFFFFFF) + abonentBytes("B", 2)},
        {"count one more than present", groupHeader("Short", 2) + abonentBytes("B", 2)},
        {"member record cut", groupHeader("Cut", 1) + abonentBytes("B", 2).substr(0, 219)},
        {"header cut inside the count", groupHeader("Hdr", 1).substr(0, 27)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        dir.write("Group.lst", good + c.tail);
        TGroupList groups;
        expectIoError(100, groups.LoadFromFile(dir.file("Group.lst")));
        ASSERT_EQ(groups.Count(), 1); // the complete group before the damage, nothing after it
        EXPECT_EQ(groups[0]->Name.str(), "Good");
    }
}

// Files read in pieces: records and group headers that straddle the reader's buffer, and damage far
// into the file, keep exactly what a whole read keeps.
TEST(LargeListFiles, RecordsAcrossReadPiecesLoadWholeAndDamageKeepsTheCompleteOnes)
{
    test::TempDataDir dir;
    std::string subscribers;
    for (int i = 0; i < 1000; ++i) // 220,000 bytes: several pieces, records cut at their edges
        subscribers += abonentBytes("S" + std::to_string(i), i);
    std::string groups;
    std::vector<std::size_t> groupEnds;
    for (int g = 0; g < 3; ++g) { // 400 members each: one group alone is larger than a piece
        groups += groupHeader("G" + std::to_string(g), 400);
        for (int m = 0; m < 400; ++m)
            groups += abonentBytes("M" + std::to_string(m), g * 1000 + m);
        groupEnds.push_back(groups.size());
    }
    // Bytes of each file kept (npos: all) and the complete records that leaves.
    struct Case
    {
        const char* what;
        std::size_t abonentCut;
        int subscribers;
        std::size_t groupCut;
        int groups;
    };
    const std::size_t all = std::string::npos;
    const Case cases[] = {
        {"whole files", all, 1000, all, 3},
        {"cut inside the record at the first piece's end", 65600, 298, groupEnds[0] + 29 + 220 * 300 + 7, 1},
        {"cut inside a later header", 219999, 999, groupEnds[1] + 10, 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        dir.write("Abonent.lst", subscribers.substr(0, c.abonentCut));
        dir.write("Group.lst", groups.substr(0, c.groupCut));
        TAbonentList abonents;
        TGroupList groupList;
        const Status abonentsRead = abonents.LoadFromFile(dir.file("Abonent.lst"));
        const Status groupsRead = groupList.LoadFromFile(dir.file("Group.lst"));
        if (c.abonentCut == all) {
            EXPECT_TRUE(abonentsRead);
            EXPECT_TRUE(groupsRead);
        } else {
            expectIoError(100, abonentsRead);
            expectIoError(100, groupsRead);
        }
        ASSERT_EQ(abonents.Count(), c.subscribers);
        ASSERT_EQ(groupList.Count(), c.groups);
        // What was kept is the file's bytes up to the damage, record for record.
        ASSERT_TRUE(abonents.SaveToFile(dir.file("Copy.lst")));
        EXPECT_EQ(dir.read("Copy.lst"), subscribers.substr(0, 220 * static_cast<std::size_t>(c.subscribers)));
        ASSERT_TRUE(groupList.SaveToFile(dir.file("Copy.lst")));
        EXPECT_EQ(dir.read("Copy.lst"), groups.substr(0, groupEnds[static_cast<std::size_t>(c.groups) - 1]));
    }
}

// --- Saving ------------------------------------------------------------------------------------------

TEST(AbonentFile, SaveWritesExactlyTheRecordsAndRoundTrips)
{
    test::TempDataDir dir;
    TAbonentList list;
    list.Add(abonent(cp("Иванов"), 100));
    list.Add(abonent("Zeta", -7));
    list[1]->Provider = HomeProviderName();
    ASSERT_TRUE(list.Save(dir.folder()));
    EXPECT_EQ(dir.read("Abonent.lst"),
              abonentBytes(cp("Иванов"), 100) + abonentBytes("Zeta", -7, HomeProviderName()));
    TAbonentList back;
    ASSERT_TRUE(back.LoadFromFile(dir.file("Abonent.lst")));
    ASSERT_TRUE(back.Save(dir.folder()));
    EXPECT_EQ(dir.read("Abonent.lst"),
              abonentBytes(cp("Иванов"), 100) + abonentBytes("Zeta", -7, HomeProviderName()));
    TAbonentList empty;
    ASSERT_TRUE(empty.Save(dir.folder()));
    EXPECT_EQ(dir.read("Abonent.lst"), "");
}

TEST(FailedSave, WriteFailureFailsAndKeepsTheOldFileByteForByte)
{
    test::TempDataDir dir;
    const std::string old = abonentBytes("Old", 1);
    dir.write("Abonent.lst", old);
    dir.write("Group.lst", groupHeader("G", 1) + old);
    TAbonentList list;
    for (int i = 0; i < 5; ++i)
        list.Add(abonent("New " + std::to_string(i), i));
    TGroupList groups;
    groups.Add(std::make_shared<TGroup>());
    groups[0]->Name = "G";
    for (int i = 0; i < 5; ++i)
        groups[0]->Members.Add(list[i]);
    {
        test::FileSizeLimit limit(300); // more than the old files, less than the new ones
        ASSERT_TRUE(limit.active());
        expectIoError(101, list.Save(dir.folder()));
        expectIoError(101, groups.Save(dir.folder()));
    }
    EXPECT_EQ(dir.read("Abonent.lst"), old);
    EXPECT_EQ(dir.read("Group.lst"), groupHeader("G", 1) + old);
    EXPECT_EQ(std::distance(fs::directory_iterator(dir.path()), fs::directory_iterator()), 2); // no leftovers
    // The in-memory lists keep the change and the next save writes it whole.
    ASSERT_TRUE(groups.Save(dir.folder()));
    EXPECT_EQ(dir.read("Group.lst").size(), 29u + 5 * 220u);
}

TEST(FailedSave, FileThatCannotBeCreatedFailsAndNothingIsWritten)
{
    test::TempDataDir dir;
    test::PromptRecorder prompts;
    dir.write("notafolder", "x");
    TProviderList list;
    list.AddHomeProvider();
    const Status saved = list.SaveToFile(dir.file("notafolder/Company.lst"));
    ASSERT_FALSE(saved);
    EXPECT_EQ(utf8(saved.failure().russian()), "Неверное иимя файла");
    EXPECT_EQ(dir.read("notafolder"), "x");
    EXPECT_TRUE(prompts.requests().empty()) << "the host tells of it";
}

// Whoever runs the tests: each save runs as an ordinary user (see RunUnprivileged).
TEST(FailedSave, ReadOnlyFolderOrFileKeepsTheOldFile)
{
    using Save = std::function<Status(const DataFolder&)>;
    const Save list = [](const DataFolder& folder) {
        TAbonentList abonents;
        abonents.Add(abonent("New", 2));
        return abonents.Save(folder);
    };
    const Save settings = [](const DataFolder& folder) {
        return ProfileFile(folder.path("Zolbin.ini")).writeString("Sender", "EMail", "new@x");
    };
    const struct
    {
        const char* what;
        const char* file;
        std::string old;
        Save save;
        bool readOnlyFile;
    } cases[] = {
        {"list in a read-only folder", "Abonent.lst", abonentBytes("Old", 1), list, false},
        // A file protected with chmod 444 in a folder anyone may write: renaming a new file over it would
        // replace it behind its protection.
        {"read-only list", "Abonent.lst", abonentBytes("Old", 1), list, true},
        {"read-only settings", "Zolbin.ini", "[Sender]\r\nEMail=old@x\r\n", settings, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        test::TempDataDir dir;
        dir.write(c.file, c.old);
        const fs::perms readable = fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read;
        const fs::perms enterable = readable | fs::perms::owner_exec | fs::perms::others_exec;
        fs::permissions(dir.path(), c.readOnlyFile ? fs::perms::all : enterable);
        if (c.readOnlyFile)
            fs::permissions(dir.file(c.file), readable);
        const bool refused = test::RunUnprivileged([&c, &dir] {
            test::PromptRecorder prompts;
            const Status saved = c.save(dir.folder());
            return !saved && saved.failure().code == IoCode::AccessDenied && prompts.requests().empty();
        });
        fs::permissions(dir.path(), fs::perms::owner_all);
        EXPECT_TRUE(refused) << "the save was not refused with the access error";
        EXPECT_EQ(dir.read(c.file), c.old);
        EXPECT_EQ(std::distance(fs::directory_iterator(dir.path()), fs::directory_iterator()), 1)
            << "a leftover";
    }
}

// --- Members and subscribers -------------------------------------------------------------------------

TEST(LinkMembers, MembersShareTheSubscriberRecordsAndSavesCarryTheirChanges)
{
    test::TempDataDir dir;
    dir.write("Group.lst", groupHeader("G1", 2) + abonentBytes("Ann", 1) + abonentBytes("Stranger", 9) +
                               groupHeader("G2", 1) + abonentBytes("Ann", 1));
    TGroupList groups;
    ASSERT_TRUE(groups.LoadFromFile(dir.file("Group.lst")));
    auto abonents = std::make_unique<TAbonentList>();
    abonents->Add(abonent("Bob", 2));
    abonents->Add(abonent("Ann", 1));
    abonents->Add(abonent("Ann", 3)); // a second of the same name: the first one is taken

    const AbonentPtr strangerBefore = groups[0]->Members[1];
    ASSERT_TRUE(groups.LinkMembers(*abonents, dir.folder()));
    EXPECT_EQ(groups[0]->Members[0], (*abonents)[1]);
    EXPECT_EQ(groups[1]->Members[0], (*abonents)[1]);
    EXPECT_EQ(groups[0]->Members[1], strangerBefore); // no subscriber of that name: keeps its own record

    (*abonents)[1]->Number = 5555;
    ASSERT_TRUE(groups.Save(dir.folder()));
    const std::string bytes = dir.read("Group.lst");
    EXPECT_EQ(bytes, groupHeader("G1", 2) + abonentBytes("Ann", 5555) + abonentBytes("Stranger", 9) +
                         groupHeader("G2", 1) + abonentBytes("Ann", 5555));

    // The subscriber list may go first: the members stay valid.
    abonents.reset();
    EXPECT_EQ(groups[0]->Members[0]->Number, 5555);
    EXPECT_EQ(groups[0]->Members[0]->Name.str(), "Ann");
}

// Members that alone hold their records (made in memory, not read from a file) all go when linked; the
// names still to be linked must not be read from them afterwards (the sanitizer build would notice).
TEST(LinkMembers, MembersThatAloneHoldTheirRecordsAreReplacedInEveryGroup)
{
    test::TempDataDir dir;
    TAbonentList abonents;
    abonents.Add(abonent("Bob", 2));
    abonents.Add(abonent("Ann", 1));
    TGroupList groups;
    for (const char* name : {"G1", "G2", "G3"}) {
        auto g = std::make_shared<TGroup>();
        g->Name = name;
        for (const char* member : {"Ann", "Bob", "Ann", "Eve"})
            g->Members.Add(abonent(member, 9));
        groups.Add(g);
    }
    ASSERT_TRUE(groups.LinkMembers(abonents, dir.folder()));
    for (const GroupPtr& g : groups) {
        EXPECT_EQ(g->Members[0], abonents[1]);
        EXPECT_EQ(g->Members[1], abonents[0]);
        EXPECT_EQ(g->Members[2], abonents[1]);
        EXPECT_EQ(g->Members[3]->Number, 9); // no subscriber of that name
    }
}

// --- Files changed behind the list's back ------------------------------------------------------------

void appendTo(const std::string& path, const std::string& bytes)
{
    std::ofstream(path, std::ios::binary | std::ios::app) << bytes;
}

// What another program (a second window, a script, a restored backup) may do to the file after the list
// read it; `loaded` is the file's state as the list read it, `folder` the file's folder.
struct ChangeBehindTheBack
{
    const char* what;
    std::function<void(const DataFolder& folder, const struct stat& loaded)> change;
};

TEST(ChangedListFile, IsNeverOverwrittenHoweverItChanged)
{
    const std::string loaded = abonentBytes("Ann", 1);
    const std::string theirs = abonentBytes("Eve", 7); // the same size as what was loaded
    const std::vector<ChangeBehindTheBack> changes = {
        {"a record appended",
         [&](const DataFolder& folder, const struct stat&) { appendTo(folder.path("Abonent.lst"), theirs); }},
        {"replaced through a rename by a file of the same size",
         [&](const DataFolder& folder, const struct stat&) {
             appendTo(folder.path("restored"), theirs);
             fs::rename(folder.path("restored"), folder.path("Abonent.lst"));
         }},
        {"rewritten in place, same size and inode, the time one nanosecond later",
         [&](const DataFolder& folder, const struct stat& before) {
             std::ofstream(folder.path("Abonent.lst"), std::ios::binary | std::ios::trunc) << theirs;
             timespec times[2] = {before.st_atim, before.st_mtim};
             times[1].tv_nsec += times[1].tv_nsec < 999999999 ? 1 : -1;
             ASSERT_EQ(::utimensat(AT_FDCWD, folder.path("Abonent.lst").c_str(), times, 0), 0);
         }},
        {"deleted",
         [](const DataFolder& folder, const struct stat&) { fs::remove(folder.path("Abonent.lst")); }},
    };
    for (const ChangeBehindTheBack& c : changes) {
        SCOPED_TRACE(c.what);
        test::TempDataDir dir;
        dir.write("Abonent.lst", loaded);
        TAbonentList list;
        ASSERT_TRUE(list.LoadFromFile(dir.file(AbonentFileName)));
        struct stat before
        {
        };
        ASSERT_EQ(::stat(dir.file("Abonent.lst").c_str(), &before), 0);
        c.change(dir.folder(), before);
        const bool present = dir.exists("Abonent.lst");
        const std::string onDisk = present ? dir.read("Abonent.lst") : "";

        list.Add(abonent("Bob", 2));
        const Status saved = list.Save(dir.folder());
        ASSERT_FALSE(saved) << "the changed file was rewritten";
        EXPECT_TRUE(IsListFileChanged(saved.failure()));
        EXPECT_EQ(saved.failure().russian(),
                  cp("Файл Abonent.lst был изменён другой программой. Список загружен "
                     "заново, повторите изменение."));
        EXPECT_EQ(dir.exists("Abonent.lst"), present);
        EXPECT_EQ(present ? dir.read("Abonent.lst") : "", onDisk);
    }
}

TEST(ChangedListFile, AFileMissingAtTheStartIsWrittenUnlessOneAppeared)
{
    test::TempDataDir dir;
    TAbonentList abonents;
    abonents.NoteMissingFile(dir.file(AbonentFileName));
    abonents.Add(abonent("Ann", 1));
    ASSERT_TRUE(abonents.Save(dir.folder())); // still missing
    ASSERT_TRUE(abonents.Save(dir.folder())); // the list's own file since
    EXPECT_EQ(dir.read("Abonent.lst"), abonentBytes("Ann", 1));

    TGroupList groups;
    groups.NoteMissingFile(dir.file(GroupFileName));
    dir.write("Group.lst", groupHeader("Theirs", 0));
    const Status saved = groups.Save(dir.folder());
    ASSERT_FALSE(saved);
    EXPECT_TRUE(IsListFileChanged(saved.failure()));
    EXPECT_EQ(dir.read("Group.lst"), groupHeader("Theirs", 0));
}

} // namespace
} // namespace zolbin
