// SPDX-License-Identifier: GPL-3.0-or-later
#include "records/Archive.h"

#include "platform/Codepage.h"
#include "platform/IoError.h"
#include "tests/support/PromptRecorder.h"
#include "tests/support/TempDir.h"
#include "tests/unit/platform/FileSizeLimit.h"

#include <filesystem>
#include <gtest/gtest.h>

using namespace zolbin;
namespace fs = std::filesystem;

namespace {

const std::string Deferred = "O\xF2\xEB\xEE\xE6\xE5\xED\xEE - "; // Latin O, then cp1251 "тложено - "
const std::string Repeats = "\xCF\xEE\xE2\xF2\xEE\xF0\xFB - ";   // "Повторы - "
const std::string Header = "\xCE\xF0\xEC\xE8\xE4, 07.12.2026 09:30\r\n"; // "Ормид, ..."

TSendParams page(std::string name = "\xC8\xE2\xE0\xED\xEE\xE2") // "Иванов"
{
    TSendParams p;
    p.CurName = std::move(name);
    p.CurProvider = "\xCE\xF0\xEC\xE8\xE4";
    p.SendDate = "07.12.2026";
    p.SendTime = "09:30";
    return p;
}

// Names of everything in the data folder, "Log" included, recursively.
std::vector<std::string> folderContents(const test::TempDataDir& dir)
{
    std::vector<std::string> names;
    for (const auto& e : fs::recursive_directory_iterator(dir.path()))
        names.push_back(e.path().lexically_relative(dir.path()).string());
    std::sort(names.begin(), names.end());
    return names;
}

} // namespace

TEST(ArchiveEntry, ServiceLineIsWrittenOnlyWhenThereIsADeferralOrARepeat)
{
    const std::vector<std::string> lines{"\xCF\xF0\xE8\xE2\xE5\xF2", "", "end"};
    const std::string body = "\xCF\xF0\xE8\xE2\xE5\xF2\r\n\r\nend\r\n\r\n";

    TSendParams p = page();
    EXPECT_EQ(FormatArchiveEntry(p, lines), Header + body);

    p.DeferDate = "08.12.2026";
    p.DeferTime = "10:15";
    EXPECT_EQ(FormatArchiveEntry(p, lines), Header + Deferred + "08.12.2026 10:15 \r\n" + body);

    p.RepeatCount = 2;
    p.RepeatInterval = "00:30";
    EXPECT_EQ(FormatArchiveEntry(p, lines),
              Header + Deferred + "08.12.2026 10:15 " + Repeats + "2 * 00:30\r\n" + body);

    p.DeferDate.clear();
    EXPECT_EQ(FormatArchiveEntry(p, lines), Header + Repeats + "2 * 00:30\r\n" + body);
}

TEST(ArchiveFile, TwoPagesGoIntoOneFileNamedByTheSubscriberInUtf8)
{
    test::TempDataDir dir;
    test::PromptRecorder prompts;
    ASSERT_TRUE(WriteArchive(dir.folder(), page(), {"one"}));
    ASSERT_TRUE(WriteArchive(dir.folder(), page(), {"two"}));
    EXPECT_EQ(dir.read("Log/Иванов.log"), Header + "one\r\n\r\n" + Header + "two\r\n\r\n");
    EXPECT_TRUE(prompts.requests().empty());
}

TEST(ArchiveFile, UnregisteredSubscriberCreatesTheFolderButNoFile)
{
    test::TempDataDir dir;
    test::PromptRecorder prompts;
    ASSERT_TRUE(WriteArchive(dir.folder(), page(""), {"text"}));
    EXPECT_EQ(folderContents(dir), std::vector<std::string>{"Log"});
    EXPECT_TRUE(prompts.requests().empty());
}

TEST(ArchiveFile, NameThatWouldLeaveTheFolderFailsAsAnInvalidNameAndWritesNothing)
{
    for (const std::string& name :
         std::vector<std::string>{"../x", "a/b", ".", "..", std::string("x\0y", 3), std::string("/tmp/x")}) {
        SCOPED_TRACE(name);
        test::TempDataDir dir;
        fs::create_directory(dir.file("a"));
        test::PromptRecorder prompts;
        const Status written = WriteArchive(dir.folder(), page(name), {"text"});
        EXPECT_EQ(folderContents(dir), (std::vector<std::string>{"Log", "a"}));
        EXPECT_FALSE(fs::exists(dir.file("../x.log")));
        ASSERT_FALSE(written);
        EXPECT_EQ(utf8(written.failure().russian()), "Неверное иимя файла");
        EXPECT_TRUE(prompts.requests().empty()) << "the host tells of it";
    }
}

TEST(ArchiveFile, FailedOpeningOrWriteFailsAndLeavesTheFileAsItWas)
{
    test::TempDataDir dir;
    test::PromptRecorder prompts;
    dir.write("Log", "not a folder");
    const auto failureOf = [](const Status& written) { return written ? Failure{} : written.failure(); };
    Failure failure = failureOf(WriteArchive(dir.folder(), page("A"), {"text"}));
    EXPECT_EQ(failure.code, IoCode::PathNotFound);
    EXPECT_EQ(dir.read("Log"), "not a folder");
    EXPECT_EQ(utf8(failure.russian()), "Неверное иимя файла");

    fs::remove(dir.file("Log"));
    fs::create_directories(dir.file("Log/B.log"));
    failure = failureOf(WriteArchive(dir.folder(), page("B"), {"text"}));
    EXPECT_EQ(failure.code, IoCode::AccessDenied);
    EXPECT_EQ(failure.russian(), "File access denied");

    // A disk that fills up in the middle of an entry: the entry goes whole or not at all, and the next
    // one, once there is room, starts on a line of its own.
    const std::string first = FormatArchiveEntry(page("C"), {"first"});
    dir.write("Log/C.log", first);
    {
        test::FileSizeLimit limit(first.size() + 10);
        ASSERT_TRUE(limit.active());
        EXPECT_EQ(failureOf(WriteArchive(dir.folder(), page("C"), {"second"})).code, IoCode::DiskFull);
    }
    EXPECT_EQ(dir.read("Log/C.log"), first);
    EXPECT_TRUE(WriteArchive(dir.folder(), page("C"), {"third"}));
    EXPECT_TRUE(prompts.requests().empty()) << "the host tells of every failure";
    EXPECT_EQ(dir.read("Log/C.log"), first + FormatArchiveEntry(page("C"), {"third"}));
}

TEST(ArchiveFile, ArchivesUnderCp1251NamesAreRenamedOrJoinedOldestFirst)
{
    test::TempDataDir dir;
    test::PromptRecorder prompts;
    const std::string petrov = "\xCF\xE5\xF2\xF0\xEE\xE2"; // "Петров" in cp1251
    fs::create_directory(dir.file("Log"));
    // Only the old name: renamed, bytes untouched.
    dir.write("Log/" + page().CurName + ".log", "old ivanov\r\n");
    // Both names: the older file's entries come first, whichever name it has.
    dir.write("Log/Петров.log", "newer\r\n");
    dir.write("Log/" + petrov + ".log", "older\r\n");
    fs::last_write_time(dir.file("Log/" + petrov + ".log"),
                        fs::last_write_time(dir.file("Log/Петров.log")) - std::chrono::hours(1));
    dir.write("Log/Ann.log", "ann\r\n");

    ASSERT_TRUE(MigrateArchiveNames(dir.folder()));
    EXPECT_EQ(folderContents(dir),
              (std::vector<std::string>{"Log", "Log/Ann.log", "Log/Иванов.log", "Log/Петров.log"}));
    EXPECT_EQ(dir.read("Log/Иванов.log"), "old ivanov\r\n");
    EXPECT_EQ(dir.read("Log/Петров.log"), "older\r\nnewer\r\n");
    EXPECT_EQ(dir.read("Log/Ann.log"), "ann\r\n");

    // The window's archive viewer and both deletions reach the same file.
    EXPECT_EQ(ArchivePath(dir.folder(), petrov), dir.path() + "/Log/Петров.log");
    EXPECT_TRUE(DeleteArchive(dir.folder(), petrov));
    EXPECT_FALSE(dir.exists("Log/Петров.log"));
    EXPECT_TRUE(prompts.requests().empty());
}
