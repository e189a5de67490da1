// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/FileIo.h"

#include "platform/IoError.h"
#include "tests/support/TempDir.h"
#include "tests/unit/platform/FileSizeLimit.h"

#include <cerrno>
#include <filesystem>
#include <gtest/gtest.h>

namespace fs = std::filesystem;

namespace zolbin {
namespace {

// The names in the folder, to see that no temporary file is left behind.
std::vector<std::string> listing(const std::string& folder)
{
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

TEST(AtomicWriter, ReplacesTheFileWholeAndLeavesNothingElse)
{
    test::TempDataDir dir;
    dir.write("list.dat", "old contents that are longer");
    {
        AtomicWriter w(dir.file("list.dat"));
        ASSERT_TRUE(w.open());
        ASSERT_TRUE(w.write("new"));
        ASSERT_TRUE(w.write(std::string("\0\r\n", 3)));
        ASSERT_TRUE(w.commit());
    }
    EXPECT_EQ(dir.read("list.dat"), std::string("new\0\r\n", 6));
    EXPECT_EQ(listing(dir.path()), std::vector<std::string>{"list.dat"});
}

TEST(AtomicWriter, AnUnsyncedRewriteKeepsTheLastDurableFileUntilDropped)
{
    test::TempDataDir dir;
    const std::string path = dir.file("list.dat");
    dir.write("list.dat", "durable");
    ASSERT_TRUE(rewriteWholeFile(path, "first", false));
    ASSERT_TRUE(rewriteWholeFile(path, "second", false));
    EXPECT_EQ(dir.read("list.dat"), "second");
    EXPECT_EQ(dir.read("list.dat.previous"), "durable") << "the unsynced first is not kept over it";
    EXPECT_EQ(listing(dir.path()), (std::vector<std::string>{"list.dat", "list.dat.previous"}));
    ASSERT_TRUE(DropPreviousFile(path));
    ASSERT_TRUE(DropPreviousFile(path));
    ASSERT_TRUE(rewriteWholeFile(path, "third"));
    ASSERT_TRUE(rewriteWholeFile(dir.file("new.dat"), "new", false));
    EXPECT_EQ(listing(dir.path()), (std::vector<std::string>{"list.dat", "new.dat"}));
    EXPECT_EQ(dir.read("list.dat"), "third");
}

TEST(AtomicWriter, UncommittedWriteLeavesTheOldFile)
{
    test::TempDataDir dir;
    dir.write("list.dat", "old");
    {
        AtomicWriter w(dir.file("list.dat"));
        ASSERT_TRUE(w.open());
        ASSERT_TRUE(w.write("half of the new"));
    }
    EXPECT_EQ(dir.read("list.dat"), "old");
    EXPECT_EQ(listing(dir.path()), std::vector<std::string>{"list.dat"});
}

TEST(AtomicWriter, FailedWriteFailsAndKeepsTheOldFile)
{
    test::TempDataDir dir;
    dir.write("list.dat", "old");
    test::FileSizeLimit limit(16);
    ASSERT_TRUE(limit.active());
    AtomicWriter w(dir.file("list.dat"));
    ASSERT_TRUE(w.open());
    const Status written = w.write(std::string(100, 'x'));
    ASSERT_FALSE(written) << "write past the limit succeeded";
    EXPECT_EQ(written.failure().code, 101);
    EXPECT_EQ(dir.read("list.dat"), "old");
}

TEST(AtomicWriter, OpenReportsWhyTheFileCannotBeCreated)
{
    test::TempDataDir dir;
    dir.write("plain", "x");
    // The I/O code of what open(2) would report: ENOENT, ENOTDIR, EISDIR.
    const auto openFailure = [](const std::string& path) {
        const Status opened = AtomicWriter(path).open();
        return opened ? 0 : opened.failure().code;
    };
    EXPECT_EQ(openFailure(dir.file("missing/list.dat")), ioCodeFromErrno(ENOENT));
    EXPECT_EQ(openFailure(dir.file("plain/list.dat")), ioCodeFromErrno(ENOTDIR));
    fs::create_directory(dir.file("folder"));
    EXPECT_EQ(openFailure(dir.file("folder")), ioCodeFromErrno(EISDIR));
    AtomicWriter never(dir.file("never.dat"));
    EXPECT_FALSE(never.write("x"));
    EXPECT_FALSE(dir.exists("never.dat"));
}

TEST(AtomicWriter, KeepsThePermissionsOfTheReplacedFile)
{
    test::TempDataDir dir;
    dir.write("list.dat", "old");
    fs::permissions(dir.file("list.dat"),
                    fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    AtomicWriter w(dir.file("list.dat"));
    ASSERT_TRUE(w.open());
    ASSERT_TRUE(w.write("new"));
    ASSERT_TRUE(w.commit());
    EXPECT_EQ(fs::status(dir.file("list.dat")).permissions(),
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
}

TEST(FileIo, ReadAppendAndCreate)
{
    test::TempDataDir dir;
    std::string bytes = "stale";
    EXPECT_EQ(readWholeFile(dir.file("none"), bytes), ENOENT);
    EXPECT_EQ(bytes, "");
    EXPECT_FALSE(fileExists(dir.file("none")));

    ASSERT_TRUE(appendToFile(dir.file("log"), "one\r\n"));
    ASSERT_TRUE(appendToFile(dir.file("log"), "two\r\n"));
    ASSERT_EQ(readWholeFile(dir.file("log"), bytes), 0);
    EXPECT_EQ(bytes, "one\r\ntwo\r\n");

    ASSERT_TRUE(createIfMissing(dir.file("log"))); // an existing file is not emptied
    EXPECT_EQ(dir.read("log"), "one\r\ntwo\r\n");
    ASSERT_TRUE(createIfMissing(dir.file("empty")));
    EXPECT_TRUE(fileExists(dir.file("empty")));
    EXPECT_EQ(dir.read("empty"), "");

    EXPECT_FALSE(appendToFile(dir.file("missing/log"), "x"));
    EXPECT_FALSE(createIfMissing(dir.file("missing/log")));
}

TEST(FileIo, DamagedFilesAreCopiedAsideUnderFreeNames)
{
    test::TempDataDir dir;
    dir.write("Abonent.lst", "damaged");
    EXPECT_EQ(copyAside(dir.file("Abonent.lst")).value(), dir.file("Abonent.lst.bad"));
    dir.write("Abonent.lst", "damaged again");
    EXPECT_EQ(copyAside(dir.file("Abonent.lst")).value(), dir.file("Abonent.lst.bad.1"));
    dir.write("Abonent.lst", "damaged once more");
    EXPECT_EQ(copyAside(dir.file("Abonent.lst")).value(), dir.file("Abonent.lst.bad.2"));
    EXPECT_EQ(dir.read("Abonent.lst.bad"), "damaged");
    EXPECT_EQ(dir.read("Abonent.lst.bad.1"), "damaged again");
    EXPECT_EQ(dir.read("Abonent.lst.bad.2"), "damaged once more");
    EXPECT_EQ(dir.read("Abonent.lst"), "damaged once more");
    const Result<std::string> missing = copyAside(dir.file("missing.lst"));
    ASSERT_FALSE(missing) << "copied a missing file";
    EXPECT_EQ(missing.failure().code, 2);
}

// Every start on a file left damaged finds it damaged again: it is copied once per content.
TEST(FileIo, ADamagedFileLeftAsItIsIsCopiedOnce)
{
    test::TempDataDir dir;
    dir.write("Group.lst", "first damage");
    dir.write("Group.lst.bad.7", "second damage"); // an earlier copy, numbered
    dir.write("Group.lst.bad.x", "second damage"); // not a copy of ours
    EXPECT_EQ(copyAside(dir.file("Group.lst")).value(), dir.file("Group.lst.bad"));
    EXPECT_EQ(copyAside(dir.file("Group.lst")).value(), dir.file("Group.lst.bad"));
    dir.write("Group.lst", "second damage");
    EXPECT_EQ(copyAside(dir.file("Group.lst")).value(), dir.file("Group.lst.bad.7"));
    dir.write("Group.lst", "second damagf"); // same size, other bytes
    EXPECT_EQ(copyAside(dir.file("Group.lst")).value(), dir.file("Group.lst.bad.1"));
    EXPECT_EQ(listing(dir.path()), (std::vector<std::string>{"Group.lst", "Group.lst.bad", "Group.lst.bad.1",
                                                             "Group.lst.bad.7", "Group.lst.bad.x"}));
}

TEST(FileIo, OnlyTheWritersOwnLeftoversAreRemoved)
{
    test::TempDataDir dir;
    const std::vector<std::pair<std::string, bool>> names = {
        {".Abonent.lst.tmpAb3xZ9", true}, // what AtomicWriter makes
        {".Abonent.lst.tmp000000", true},
        {".Abonent.lst.tmpAb3xZ", false},   // five characters
        {".Abonent.lst.tmpAb3xZ90", false}, // seven
        {".Abonent.lst.tmpAb-xZ9", false},  // not a letter or digit
        {"Abonent.lst.tmpAb3xZ9", false},   // not hidden
        {".Group.lst.tmpAb3xZ9", false},    // another file's
        {"Abonent.lst", false},
        {"Abonent.lst.bad", false},
    };
    for (const auto& [name, removed] : names)
        dir.write(name, "x");
    fs::create_directory(dir.file(".Abonent.lst.tmpFOLDER"));
    removeWriterLeftovers(dir.file("Abonent.lst"));
    for (const auto& [name, removed] : names)
        EXPECT_EQ(dir.exists(name), !removed) << name;
    EXPECT_TRUE(dir.exists(".Abonent.lst.tmpFOLDER")) << "only files are removed";

    removeWriterLeftovers(dir.path() + "/Group.lst"); // a path with its folder
    EXPECT_FALSE(dir.exists(".Group.lst.tmpAb3xZ9"));
}

TEST(FileIo, DataFilesAreFoundInTheDataFolderFirst)
{
    test::TempDataDir dir;
    EXPECT_EQ(findDataFile(dir.folder(), "no-such-table.cod"), dir.file("no-such-table.cod"));
    dir.write("1251-koi.cod", "local");
    EXPECT_EQ(findDataFile(dir.folder(), "1251-koi.cod"), dir.file("1251-koi.cod"));
}

} // namespace
} // namespace zolbin
