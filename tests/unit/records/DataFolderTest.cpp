// SPDX-License-Identifier: GPL-3.0-or-later
// One process, two sessions on two data folders: every file goes into its own session's folder, none
// into the working directory.
#include "platform/DataFolder.h"

#include "records/Archive.h"
#include "records/OutboxLocks.h"
#include "records/Session.h"
#include "tests/support/TempDir.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <set>

using namespace zolbin;

TEST(DataFolder, NamesFilesUnderItsAbsolutePath)
{
    test::TempDataDir dir;
    EXPECT_EQ(DataFolder(dir.path() + "/sub/").path("Zolbin.ini"), dir.path() + "/sub/Zolbin.ini");
    EXPECT_EQ(DataFolder(dir.path() + "/sub/../sub").root(), dir.path() + "/sub");
    const std::string working = std::filesystem::current_path().string();
    EXPECT_EQ(DataFolder("sub").root(), working + "/sub") << "a relative folder is taken from here";
    EXPECT_EQ(DataFolder::Current().path("Log/x.log"), working + "/Log/x.log");
    EXPECT_EQ(DataFolder("/").path("x"), "/x");
}

// The names in a folder.
std::set<std::string> namesIn(const std::filesystem::path& folder)
{
    std::set<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder))
        names.insert(entry.path().filename().string());
    return names;
}

TEST(DataFolder, TwoSessionsWriteIntoTheirOwnFoldersWhateverTheWorkingDirectory)
{
    test::TempDataDir first;
    test::TempDataDir second;
    const std::filesystem::path working = std::filesystem::current_path();
    const std::set<std::string> workingNames = namesIn(working);
    Session one(first.folder());
    Session two(second.folder());
    for (Session* session : {&one, &two}) {
        ASSERT_TRUE(session->journal.WriteLine(session == &one ? "one" : "two"));
        TSendParams page;
        page.CurName = "A";
        ASSERT_TRUE(WriteArchive(session->folder, page, {"text"}));
        ASSERT_TRUE(OpenFolderOutbox(session->folder));
        SenderLock sending;
        ASSERT_TRUE(sending.hold(session->folder));
    }
    EXPECT_EQ(first.read("Zolbin.log"), "one\r\n");
    EXPECT_EQ(second.read("Zolbin.log"), "two\r\n");
    for (const test::TempDataDir* dir : {&first, &second})
        for (const char* name : {"Log/A.log", "Outbox.db", ".outbox-senders.lock"})
            EXPECT_TRUE(dir->exists(name)) << dir->path() << " " << name;
    EXPECT_EQ(std::filesystem::current_path(), working);
    EXPECT_EQ(namesIn(working), workingNames);
    EXPECT_EQ(one.journal.fileName(), "Zolbin.log") << "messages name the file as before";
}
