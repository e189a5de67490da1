// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/IoError.h"

#include "platform/Codepage.h"
#include "platform/Result.h"

#include <cerrno>
#include <gtest/gtest.h>

namespace zolbin {
namespace {

TEST(IoError, SystemErrorsMapToTheProgramsCodes)
{
    EXPECT_EQ(ioCodeFromErrno(ENOENT), 2);
    for (int e : {ENOTDIR, ENAMETOOLONG, EINVAL, ELOOP})
        EXPECT_EQ(ioCodeFromErrno(e), 3) << e;
    for (int e : {EMFILE, ENFILE})
        EXPECT_EQ(ioCodeFromErrno(e), 4) << e;
    for (int e : {EACCES, EPERM, EROFS, EISDIR, ETXTBSY, EBUSY})
        EXPECT_EQ(ioCodeFromErrno(e), 5) << e;
    for (int e : {ENOSPC, EDQUOT, EFBIG})
        EXPECT_EQ(ioCodeFromErrno(e), 101) << e;
    EXPECT_EQ(ioCodeFromErrno(EIO), 1000 + EIO);
}

TEST(IoError, TextsAreTheProgramsOwn)
{
    EXPECT_EQ(utf8(ioErrorText(2).russian()), "Файл не найден");
    EXPECT_EQ(utf8(ioErrorText(3).russian()), "Неверное иимя файла");
    EXPECT_EQ(utf8(ioErrorText(4).russian()), "Слишком много открытых файлов");
    EXPECT_EQ(ioErrorText(5).russian(), "File access denied");
    EXPECT_EQ(ioErrorText(100).russian(), "Read beyond end of file");
    EXPECT_EQ(utf8(ioErrorText(101).russian()), "Нет места на диске");
    EXPECT_EQ(ioErrorText(106).russian(), "Invalid numeric input");
    EXPECT_EQ(utf8(ioErrorText(1005).russian()), "Ошибка ввода/вывода 1005");
    EXPECT_EQ(utf8(ioErrorText(-7).russian()), "Ошибка ввода/вывода -7");
}

TEST(IoError, FailureCarriesCodeAndText)
{
    const Failure full = Failure::fromErrno(ENOSPC);
    EXPECT_EQ(full.code, 101);
    EXPECT_EQ(full.text, ioErrorText(101));
    EXPECT_EQ(Failure::io(IoCode::ReadBeyondEnd).russian(), "Read beyond end of file");
}

TEST(Result, CarriesEitherTheValueOrTheFailureWithItsText)
{
    const Result<int> good = 42;
    ASSERT_TRUE(good.ok());
    EXPECT_EQ(good.value(), 42);

    const Result<int> bad = Failure::fromErrno(ENOSPC);
    ASSERT_FALSE(bad);
    EXPECT_EQ(bad.failure().code, IoCode::DiskFull);
    EXPECT_EQ(bad.failure().text, ioErrorText(IoCode::DiskFull));

    const Status done;
    EXPECT_TRUE(done.ok());
    const Status refused = Failure{7, Text::verbatim("x")};
    EXPECT_FALSE(refused.ok());
    EXPECT_EQ(refused.failure().code, 7);
}

} // namespace
} // namespace zolbin
