// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/Translations.h"

#include <gtest/gtest.h>

namespace zolbin {
namespace {

TEST(InterfaceLanguage, TheFirstLanguageSpokenWinsAndRussianIsTheDefault)
{
    struct Row
    {
        QStringList uiLanguages;
        InterfaceLanguage expected;
    };
    const Row rows[] = {
        {{QStringLiteral("en-US"), QStringLiteral("en")}, InterfaceLanguage::English},
        {{QStringLiteral("ru-RU")}, InterfaceLanguage::Russian},
        {{QStringLiteral("de-DE"), QStringLiteral("en")}, InterfaceLanguage::English},
        {{QStringLiteral("ru"), QStringLiteral("en")}, InterfaceLanguage::Russian},
        {{QStringLiteral("de-DE")}, InterfaceLanguage::Russian},
        {{QStringLiteral("C")}, InterfaceLanguage::Russian},
        {{}, InterfaceLanguage::Russian},
    };
    for (const Row& row : rows)
        EXPECT_EQ(InterfaceLanguageFor(row.uiLanguages), row.expected)
            << row.uiLanguages.join(u',').toStdString();
}

} // namespace
} // namespace zolbin
