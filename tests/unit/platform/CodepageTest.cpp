// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/Codepage.h"

#include <gtest/gtest.h>
#include <iconv.h>

namespace zolbin {
namespace {

TEST(Codepage, EveryByteConvertsToACharacterAndBack)
{
    std::string all;
    for (int b = 1; b < 256; ++b)
        all.push_back(static_cast<char>(b));
    const QString text = toQString(all);
    ASSERT_EQ(text.size(), 255);
    EXPECT_EQ(toCp1251(text), all);
    EXPECT_EQ(text.at(0x98 - 1).unicode(), 0x0098); // the unassigned byte keeps its own code
    EXPECT_EQ(toCp1251(sanitizeForCp1251(text)), all);
}

TEST(Codepage, TableAgreesWithTheCLibrary)
{
    iconv_t cd = iconv_open("UTF-16LE", "CP1251");
    if (cd == reinterpret_cast<iconv_t>(-1))
        GTEST_SKIP() << "the C library has no CP1251 converter";
    for (int b = 0x80; b < 0x100; ++b) {
        if (b == 0x98)
            continue;
        char in[1] = {static_cast<char>(b)};
        char out[4] = {};
        char* pin = in;
        char* pout = out;
        std::size_t inLeft = 1, outLeft = sizeof out;
        ASSERT_NE(iconv(cd, &pin, &inLeft, &pout, &outLeft), static_cast<std::size_t>(-1)) << b;
        const auto expected = static_cast<char16_t>(static_cast<unsigned char>(out[0]) |
                                                    static_cast<unsigned char>(out[1]) << 8);
        EXPECT_EQ(toQString(std::string(1, static_cast<char>(b))).at(0).unicode(), expected) << "byte " << b;
    }
    iconv_close(cd);
}

TEST(Codepage, ProgramTextsBecomeCp1251Bytes)
{
    EXPECT_EQ(cp("Ёё АЯая №"), "\xA8\xB8 \xC0\xDF\xE0\xFF \xB9");
    EXPECT_EQ(cp("Zolbin"), "Zolbin");
    EXPECT_EQ(utf8("\xCF\xF0\xE8\xE2\xE5\xF2"), "Привет");
    EXPECT_EQ(utf8(cp("Ошибка ввода/вывода")), "Ошибка ввода/вывода");
}

TEST(Codepage, CharactersOutsideTheCodePageBecomeQuestionMarks)
{
    // Greek alpha, a CJK character, an emoji (surrogate pair = one character) and the euro sign.
    const QString text = QString::fromUtf8("a\u03B1b\u4E2D\U0001F600\u20AC");
    EXPECT_EQ(toCp1251(text), "a?b??\x88");
    EXPECT_EQ(sanitizeForCp1251(text), QString::fromUtf8("a?b??\u20AC"));
    EXPECT_FALSE(isCp1251Char(U'\u03B1'));
    EXPECT_TRUE(isCp1251Char(U'\u0451'));
    EXPECT_TRUE(isCp1251Char(U'\0'));
}

} // namespace
} // namespace zolbin
