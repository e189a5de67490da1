// SPDX-License-Identifier: GPL-3.0-or-later
// The SMTP password file of zolbin-send: which file is read, and which files are refused.

#include "cli/SmtpPassword.h"

#include "cli/ExitStatus.h"
#include "tests/support/TempDir.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <sys/stat.h>

using namespace zolbin;
using ::testing::HasSubstr;

namespace {

struct PasswordFiles : ::testing::Test
{
    // A file of the folder with these bytes and permission bits; its full name.
    std::string file(const std::string& name, const std::string& bytes, mode_t mode)
    {
        dir.write(name, bytes);
        const std::string path = dir.path() + "/" + name;
        ::chmod(path.c_str(), mode);
        return path;
    }
    test::TempDataDir dir;
};

TEST_F(PasswordFiles, OnlyAFileItsOwnerAloneMayReadGivesItsFirstLine)
{
    struct Case
    {
        const char* bytes;
        mode_t mode;
        const char* password; // nullptr: refused
    };
    const Case cases[] = {
        {"s3cret\nsecond line\n", 0600, "s3cret"},
        {"s3cret\r\n", 0400, "s3cret"},
        {"пароль с пробелом", 0600, "пароль с пробелом"}, // no line end
        {"", 0600, ""},
        {"s3cret\n", 0640, nullptr}, // group may read
        {"s3cret\n", 0604, nullptr}, // others may read
        {"s3cret\n", 0620, nullptr}, // group may write
        {"s3cret\n", 0601, nullptr}, // others may execute
    };
    int n = 0;
    for (const Case& c : cases) {
        const std::string path = file("pw" + std::to_string(n++), c.bytes, c.mode);
        SCOPED_TRACE(path + " mode " + std::to_string(c.mode));
        if (c.password != nullptr) {
            EXPECT_EQ(SmtpPasswordFromFile(path, nullptr), std::optional<std::string>(c.password));
            continue;
        }
        try {
            SmtpPasswordFromFile(path, nullptr);
            ADD_FAILURE() << "accepted";
        } catch (const CliError& error) {
            EXPECT_EQ(error.status(), ExitStatus::Usage);
            EXPECT_THAT(error.what(), HasSubstr("доступен не только владельцу"));
        }
    }
}

TEST_F(PasswordFiles, TheOptionWinsOverTheEnvironmentAndAMissingFileIsRefused)
{
    const std::string fromOption = file("option", "by option\n", 0600);
    const std::string fromEnvironment = file("environment", "by environment\n", 0600);
    EXPECT_EQ(SmtpPasswordFromFile(fromOption, fromEnvironment.c_str()), "by option");
    EXPECT_EQ(SmtpPasswordFromFile(std::nullopt, fromEnvironment.c_str()), "by environment");
    EXPECT_EQ(SmtpPasswordFromFile(std::nullopt, ""), std::nullopt);
    EXPECT_EQ(SmtpPasswordFromFile(std::nullopt, nullptr), std::nullopt);

    for (const auto& [option, environment] :
         {std::pair<std::optional<std::string>, std::string>{dir.path() + "/absent", fromEnvironment},
          {std::nullopt, dir.path() + "/absent"},
          {dir.path(), ""}}) { // a folder
        try {
            SmtpPasswordFromFile(option, environment.c_str());
            ADD_FAILURE() << "accepted " << option.value_or(environment);
        } catch (const CliError& error) {
            EXPECT_EQ(error.status(), ExitStatus::Usage);
            EXPECT_THAT(error.what(), HasSubstr("файл пароля SMTP"));
        }
    }
}

} // namespace
