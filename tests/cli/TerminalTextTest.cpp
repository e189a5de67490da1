// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/TerminalText.h"

#include "cli/ExitStatus.h"
#include "platform/Codepage.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

using namespace zolbin;
using ::testing::ElementsAre;
using ::testing::HasSubstr;

namespace {

// The error text of a refused conversion, or "" when it was accepted.
std::string refusal(const std::string& utf8Text)
{
    try {
        FromTerminal(utf8Text, "текст");
        return {};
    } catch (const CliError& e) {
        EXPECT_EQ(e.status(), ExitStatus::Usage);
        return e.what();
    }
}

} // namespace

TEST(TerminalText, Cp1251TextPassesAndEveryOtherCharacterIsRefusedByName)
{
    EXPECT_EQ(FromTerminal("Привет, мир! № €\tЁё", "текст"), cp("Привет, мир! № €\tЁё"));
    EXPECT_THAT(refusal("ok 😀"), HasSubstr("«😀» (U+1F600)"));
    EXPECT_THAT(refusal("日本"), HasSubstr("«日» (U+65E5)"));
    EXPECT_THAT(refusal("caf\xC3"), HasSubstr("UTF-8"));               // cut inside a character
    EXPECT_THAT(refusal("a\x1B[2Jb"), HasSubstr("U+001B"));            // an escape sequence
    EXPECT_THAT(refusal(std::string("a\0b", 3)), HasSubstr("U+0000")); // a NUL would cut a protocol line
    EXPECT_THAT(refusal("a\rb"), HasSubstr("U+000D"));                 // so would a lone CR
}

TEST(TerminalText, StandardInputLinesAreTheEditorsLines)
{
    MessageText m = MessageFromInput("Сервер\r\nупал\n");
    EXPECT_THAT(m.lines, ElementsAre(cp("Сервер"), cp("упал")));
    EXPECT_EQ(m.text, cp("Сервер\r\nупал"));
    EXPECT_EQ(m.length(), 6 + 2 + 4); // a line break counts two

    // An empty line after the text is part of the text (its line break counts) but, like the editor's
    // final empty line, is not a line of the page; empty lines inside stay.
    m = MessageFromInput("a\n\nb\n\n");
    EXPECT_THAT(m.lines, ElementsAre("a", "", "b"));
    EXPECT_EQ(m.text, "a\r\n\r\nb\r\n");

    EXPECT_TRUE(MessageFromInput("").text.empty());
    EXPECT_TRUE(MessageFromInput("\n").text.empty());
    EXPECT_EQ(MessageFromInput("   ").text, "   "); // blanks are a text, as in the window

    // A line that cannot be sent is named by its number.
    try {
        MessageFromInput("first\nsecond ✓\n");
        ADD_FAILURE() << "accepted";
    } catch (const CliError& e) {
        EXPECT_THAT(e.what(), HasSubstr("строка 2: символ «✓»"));
    }

    m = MessageFromWords({"Disk", "full", "на", "srv1"});
    EXPECT_THAT(m.lines, ElementsAre(cp("Disk full на srv1")));
    EXPECT_EQ(m.text, cp("Disk full на srv1"));
}

TEST(TerminalText, ServerTextCannotDriveTheTerminal)
{
    EXPECT_EQ(ToTerminal("250 ok\x1B[2J\r\n"), "250 ok?[2J");
    EXPECT_EQ(ToTerminal("250-first\r\n250 last\r\n"), "250-first\n250 last");
    EXPECT_EQ(ToTerminal(cp("Ответ: 250 готово\r\n")), "Ответ: 250 готово");
}
