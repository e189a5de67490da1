// SPDX-License-Identifier: GPL-3.0-or-later
// One process, two sessions on two data folders, the working directory a third: every file goes into its
// own session's folder.
#include "platform/DataFolder.h"

#include "records/Archive.h"
#include "records/OutboxLocks.h"
#include "records/Session.h"
#include "tests/support/TempDir.h"

#include <filesystem>
#include <gtest/gtest.h>

using namespace zolbin;

TEST(DataFolder, NamesFilesUnderItsAbsolutePath)
{
    test::TempDataDir dir;
    std::filesystem::create_directory("sub");
    EXPECT_EQ(DataFolder("sub/").path("Zolbin.ini"), dir.path() + "/sub/Zolbin.ini");
    EXPECT_EQ(DataFolder("sub/../sub").root(), dir.path() + "/sub");
    EXPECT_EQ(DataFolder::Current().path("Log/x.log"), dir.path() + "/Log/x.log");
    EXPECT_EQ(DataFolder("/").path("x"), "/x");
}

TEST(DataFolder, TwoSessionsWriteIntoTheirOwnFoldersWhateverTheWorkingDirectory)
{
    test::TempDataDir first;
    test::TempDataDir second;
    test::TempDataDir working; // the current directory from here on
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
    EXPECT_TRUE(std::filesystem::is_empty(working.path()));
    EXPECT_EQ(one.journal.fileName(), "Zolbin.log") << "messages name the file as before";
}
