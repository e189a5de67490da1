#include "records/Journal.h"

#include "platform/Codepage.h"
#include "platform/Errors.h"
#include "platform/IoError.h"
#include "tests/support/TempDir.h"

#include <filesystem>
#include <gtest/gtest.h>

using namespace zolbin;

TEST(JournalFile, LinesAreAppendedAsCp1251WithCrLf)
{
    test::TempDataDir dir;
    TJournal journal;
    journal.EnsureExists();
    ASSERT_TRUE(dir.exists("Zolbin.log"));
    EXPECT_EQ(dir.read("Zolbin.log"), "");

    journal.WriteLine(cp("Инициализация..."));
    journal.WriteLine("250 OK");
    journal.WriteEmptyLine();
    EXPECT_EQ(dir.read("Zolbin.log"), "\xC8\xED\xE8\xF6\xE8\xE0\xEB\xE8\xE7\xE0\xF6\xE8\xFF...\r\n"
                                      "250 OK\r\n"
                                      "\r\n");
}

TEST(JournalFile, EnsureExistsKeepsAnExistingJournal)
{
    test::TempDataDir dir;
    dir.write("Zolbin.log", "old line\r\n");
    TJournal().EnsureExists();
    TJournal().WriteLine("new line");
    EXPECT_EQ(dir.read("Zolbin.log"), "old line\r\nnew line\r\n");
}

TEST(JournalFile, JournalDeletedDuringASendIsStartedAgainByTheNextLine)
{
    test::TempDataDir dir;
    TJournal journal;
    journal.WriteLine("first");
    std::filesystem::remove("Zolbin.log");
    EXPECT_NO_THROW(journal.WriteLine("second"));
    EXPECT_EQ(dir.read("Zolbin.log"), "second\r\n");
}

TEST(JournalFile, FailuresAreInputOutputErrors)
{
    test::TempDataDir dir;
    try {
        TJournal("missing-folder/Zolbin.log").EnsureExists();
        FAIL() << "no error";
    } catch (const EInOutError& e) {
        EXPECT_EQ(e.code(), IoCode::FileNotFound);
    }
    std::filesystem::create_directory("Zolbin.log"); // something that cannot be appended to
    try {
        TJournal().WriteLine("x");
        FAIL() << "no error";
    } catch (const EInOutError& e) {
        EXPECT_EQ(e.code(), IoCode::AccessDenied);
    }
}
