// SPDX-License-Identifier: GPL-3.0-or-later
#include "records/Journal.h"

#include "platform/Codepage.h"
#include "platform/IoError.h"
#include "tests/support/TempDir.h"
#include "tests/unit/platform/FileSizeLimit.h"

#include <filesystem>
#include <gtest/gtest.h>

using namespace zolbin;

TEST(JournalFile, LinesAreAppendedAsCp1251WithCrLf)
{
    test::TempDataDir dir;
    TJournal journal(dir.folder());
    ASSERT_TRUE(journal.EnsureExists());
    ASSERT_TRUE(dir.exists("Zolbin.log"));
    EXPECT_EQ(dir.read("Zolbin.log"), "");

    ASSERT_TRUE(journal.WriteLine(cp("Инициализация...")));
    ASSERT_TRUE(journal.WriteLine("250 OK"));
    ASSERT_TRUE(journal.WriteEmptyLine());
    EXPECT_EQ(dir.read("Zolbin.log"), "\xC8\xED\xE8\xF6\xE8\xE0\xEB\xE8\xE7\xE0\xF6\xE8\xFF...\r\n"
                                      "250 OK\r\n"
                                      "\r\n");
}

TEST(JournalFile, EnsureExistsKeepsAnExistingJournal)
{
    test::TempDataDir dir;
    dir.write("Zolbin.log", "old line\r\n");
    ASSERT_TRUE(TJournal(dir.folder()).EnsureExists());
    ASSERT_TRUE(TJournal(dir.folder()).WriteLine("new line"));
    EXPECT_EQ(dir.read("Zolbin.log"), "old line\r\nnew line\r\n");
}

TEST(JournalFile, JournalDeletedDuringASendIsStartedAgainByTheNextLine)
{
    test::TempDataDir dir;
    TJournal journal(dir.folder());
    ASSERT_TRUE(journal.WriteLine("first"));
    std::filesystem::remove(dir.file("Zolbin.log"));
    EXPECT_TRUE(journal.WriteLine("second"));
    EXPECT_EQ(dir.read("Zolbin.log"), "second\r\n");
}

TEST(JournalFile, FailuresAreInputOutputErrors)
{
    test::TempDataDir dir;
    const Status created = TJournal(dir.file("missing-folder/Zolbin.log")).EnsureExists();
    ASSERT_FALSE(created) << "no error";
    EXPECT_EQ(created.failure().code, IoCode::FileNotFound);
    std::filesystem::create_directory(dir.file("Zolbin.log")); // something that cannot be appended to
    const Status written = TJournal(dir.folder()).WriteLine("x");
    ASSERT_FALSE(written) << "no error";
    EXPECT_EQ(written.failure().code, IoCode::AccessDenied);
}

TEST(JournalFile, AppendWritesALineWholeOrNotAtAllAndKeepsTheFirstFailure)
{
    test::TempDataDir dir;
    TJournal journal(dir.folder());
    ASSERT_TRUE(journal.WriteLine("kept"));
    {
        test::FileSizeLimit limit(10); // "kept\r\n" and four bytes more
        ASSERT_TRUE(limit.active());
        EXPECT_FALSE(journal.Append("250 message sent"));
        EXPECT_TRUE(journal.Append("ok"));
        EXPECT_FALSE(journal.Append("again too long"));
    }
    EXPECT_EQ(dir.read("Zolbin.log"), "kept\r\nok\r\n");
    EXPECT_EQ(journal.Failure(), IoCode::DiskFull);
    journal.ClearFailure();
    EXPECT_TRUE(journal.Append("room again"));
    EXPECT_EQ(journal.Failure(), 0);
    EXPECT_EQ(dir.read("Zolbin.log"), "kept\r\nok\r\nroom again\r\n");
}
