// SPDX-License-Identifier: GPL-3.0-or-later
#include "dispatch/CodeTables.h"

#include "platform/FileIo.h"
#include "platform/IoError.h"
#include "tests/support/TempDir.h"

#include <filesystem>
#include <gtest/gtest.h>

using namespace zolbin;

namespace {

// A table that changes every byte, the lower half included: byte i -> 255 - i.
std::string reversedTable()
{
    std::string t(256, '\0');
    for (int i = 0; i < 256; ++i)
        t[static_cast<std::size_t>(i)] = static_cast<char>(255 - i);
    return t;
}

std::string converted(const test::TempDataDir& dir, const std::string& charset, std::string text)
{
    const Status done = ConvertForCharset(dir.folder(), charset, text);
    EXPECT_TRUE(done.ok()) << done.failure().russian();
    return text;
}

// The I/O code a conversion failed with, 0 when it did not fail.
int failureOf(const test::TempDataDir& dir, const std::string& charset, std::string text)
{
    const Status done = ConvertForCharset(dir.folder(), charset, text);
    return done ? 0 : done.failure().code;
}

void useShippedTables(const test::TempDataDir& dir)
{
    for (const char* name : {KoiTableFileName, DosTableFileName})
        std::filesystem::copy_file(std::filesystem::path(ZOLBIN_SHIPPED_DATA_DIR) / name,
                                   std::filesystem::path(dir.path()) / name);
}

} // namespace

TEST(CodeTables, OnlyBytesFromHexEightyUpAreReplaced)
{
    test::TempDataDir dir;
    dir.write(KoiTableFileName, reversedTable() + "ignored tail");
    dir.write(DosTableFileName, reversedTable());
    const std::string text = std::string("Abc 1.\r\n\x7F\x80\xC0\xFF", 12);
    const std::string expected = std::string("Abc 1.\r\n\x7F\x7F\x3F", 11) + std::string(1, '\0');
    EXPECT_EQ(converted(dir, "KOI8-R", text), expected);
    EXPECT_EQ(converted(dir, "DOS", text), expected);
}

TEST(CodeTables, MissingTableLeavesTheTextUnchanged)
{
    test::TempDataDir dir;
    if (findDataFile(dir.folder(), KoiTableFileName) != dir.file(KoiTableFileName))
        GTEST_SKIP() << "an installed table is found: " << findDataFile(dir.folder(), KoiTableFileName);
    EXPECT_EQ(converted(dir, "KOI8-R", "\xC0\xFF"), "\xC0\xFF");
}

TEST(CodeTables, ShortTableIsReadBeyondEndOfFileEvenForPlainText)
{
    test::TempDataDir dir;
    dir.write(DosTableFileName, reversedTable().substr(0, 255));
    for (const std::string text : {"\xC0", "plain"}) {
        std::string t = text;
        const Status done = ToCp866(dir.folder(), t);
        ASSERT_FALSE(done) << "no error";
        EXPECT_EQ(done.failure().code, IoCode::ReadBeyondEnd);
        EXPECT_EQ(done.failure().russian(), "Read beyond end of file");
        EXPECT_EQ(t, text);
    }
}

TEST(CodeTables, OnlyTheExactNamesKoi8rAndDosOpenATable)
{
    test::TempDataDir dir;
    // Short tables: any attempt to read one fails, which shows that it was opened.
    dir.write(KoiTableFileName, "short");
    dir.write(DosTableFileName, "short");
    for (const char* charset : {"WIN-1251", "koi8-r", "dos", "KOI8", "", "cp1251"})
        EXPECT_EQ(converted(dir, charset, "\xC0"), "\xC0") << charset;
    EXPECT_EQ(failureOf(dir, "KOI8-R", "\xC0"), IoCode::ReadBeyondEnd);
    EXPECT_EQ(failureOf(dir, "DOS", "\xC0"), IoCode::ReadBeyondEnd);

    EXPECT_EQ(CharsetHeaderName("KOI8-R"), "koi8-r");
    EXPECT_EQ(CharsetHeaderName("DOS"), "cp866");
    EXPECT_EQ(CharsetHeaderName("WIN-1251"), "cp1251");
    EXPECT_EQ(CharsetHeaderName("koi8-r"), "");
}

TEST(CodeTables, ChangedTableTakesEffectAtTheNextCall)
{
    test::TempDataDir dir;
    dir.write(KoiTableFileName, reversedTable());
    EXPECT_EQ(converted(dir, "KOI8-R", "\xC0"), "\x3F");
    dir.write(KoiTableFileName, std::string(256, 'z'));
    EXPECT_EQ(converted(dir, "KOI8-R", "\xC0"), "z");
}

TEST(CodeTables, ShippedTablesHoldTheRussianLetters)
{
    test::TempDataDir dir;
    useShippedTables(dir);
    // А я Ё ё in cp1251
    const std::string letters = "\xC0\xFF\xA8\xB8";
    EXPECT_EQ(converted(dir, "KOI8-R", letters), "\xE1\xD1\xB3\xA3");
    EXPECT_EQ(converted(dir, "DOS", letters), "\x80\xEF\xF0\xF1");
}
