// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/OwnerOnlyFile.h"

#include "platform/Codepage.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

namespace zolbin {
namespace {

// A secret is taken only from a regular file of its owner's alone; the failures name the file's kind.
TEST(OwnerOnlyFile, ReadsAFileOfItsOwnerOnlyAndNamesTheFileInEachRefusal)
{
    test::TempDataDir dir;
    dir.write("secret", "pass\r\nsecond\n");
    const std::string path = dir.file("secret");
    const Text kind = tx("SmtpPassword", "файл пароля SMTP");
    ASSERT_EQ(::chmod(path.c_str(), 0400), 0);
    EXPECT_EQ(ReadOwnerOnlyFile(path, kind, OwnerOnlyRead::FirstLine).value(), "pass");
    EXPECT_EQ(ReadOwnerOnlyFile(path, kind).value(), "pass\r\nsecond\n");

    struct Row
    {
        std::string path;
        mode_t mode; // 0: left as it is
        std::string russian;
    };
    const Row rows[] = {
        {path, 0640,
         "файл пароля SMTP «" + path + "» доступен не только владельцу: нужны права 600 или 400 (chmod 600)"},
        {path, 0604,
         "файл пароля SMTP «" + path + "» доступен не только владельцу: нужны права 600 или 400 (chmod 600)"},
        {dir.path(), 0, "файл пароля SMTP «" + dir.path() + "» - не обычный файл"},
        {dir.file("none"), 0,
         "файл пароля SMTP «" + dir.file("none") + "» не читается: No such file or directory"},
    };
    for (const Row& row : rows) {
        if (row.mode != 0) {
            ASSERT_EQ(::chmod(row.path.c_str(), row.mode), 0);
        }
        const Result<std::string> read = ReadOwnerOnlyFile(row.path, kind, OwnerOnlyRead::FirstLine);
        ASSERT_FALSE(read) << row.russian;
        EXPECT_EQ(utf8(read.failure().russian()), row.russian);
    }
}

} // namespace
} // namespace zolbin
