// SPDX-License-Identifier: GPL-3.0-or-later
#include "directory/Records.h"
#include "dispatch/CodeTables.h"
#include "dispatch/Connection.h"
#include "dispatch/ReplyReader.h"
#include "dispatch/Snpp.h"
#include "tests/unit/dispatch/NetTestSupport.h"

using namespace zolbin;
using namespace zolbin::test;
using ::testing::ElementsAre;

namespace {

ScriptedSession snppSession(std::vector<ScriptedReply> replies)
{
    return {{"220 SNPP ready\r\n"}, std::move(replies)};
}

std::vector<ScriptedReply> allAccepted(int steps)
{
    std::vector<ScriptedReply> replies;
    for (int i = 0; i < steps - 1; ++i)
        replies.push_back(Reply("250 OK\r\n"));
    replies.push_back(Reply("221 Bye\r\n"));
    return replies;
}

class SnppDialogueTest : public NetTest
{
protected:
    TSendParams params()
    {
        TSendParams p;
        p.CurNumber = 1234;
        p.CurProvider = "Acme";
        p.CurSNPPEnc = "WIN-1251";
        return p;
    }

    int run(ScriptedServer& server, const TSendParams& p)
    {
        int s = ConnectToServer(host, sockets, "127.0.0.1", server.port());
        if (s < 0)
            return -2;
        return DialogueCode(SnppDialogue(host, s, p, host.lines));
    }
};

} // namespace

TEST_F(SnppDialogueTest, PageWithoutLoginOrHoldSendsFourCommands)
{
    ScriptedServer server({snppSession(allAccepted(4))});
    host.lines = {"Hello"};
    EXPECT_EQ(run(server, params()), 0);
    EXPECT_EQ(server.received()[0], "PAGE 1234\r\nMESS Hello \r\nSEND\r\nQUIT\r\n");
    EXPECT_THAT(JournalLines(dir.folder()),
                ElementsAre("Соединение с сервером...", "Попытка 1...", "220 SNPP ready",
                            "Посылка: PAGE 1234", "Ответ: 250 OK", "Посылка: MESS ***", "Ответ: 250 OK",
                            "Посылка: SEND", "Ответ: 250 OK", "Посылка: QUIT", "Ответ: 221 Bye"));
}

TEST_F(SnppDialogueTest, HomeProviderLogsInWithTheProgramsNameAndShowsIt)
{
    ScriptedServer server({snppSession(allAccepted(5))});
    host.lines = {"x"};
    TSendParams p = params();
    p.CurProvider = HomeProviderName();
    p.CurSnppPswd = "ignored";
    EXPECT_EQ(run(server, p), 0);
    EXPECT_EQ(server.received()[0].rfind("LOGI Zolbin Sender 2.0.1\r\nPAGE 1234\r\n", 0), 0u);
    EXPECT_EQ(JournalLines(dir.folder())[3], "Посылка: LOGI Zolbin Sender 2.0.1");
}

TEST_F(SnppDialogueTest, CompanyPasswordIsSentButNeverShownOrJournaled)
{
    ScriptedServer server({snppSession(allAccepted(5))});
    host.lines = {"x"};
    TSendParams p = params();
    p.CurSnppPswd = "s3cret";
    EXPECT_EQ(run(server, p), 0);
    EXPECT_EQ(server.received()[0].rfind("LOGI s3cret\r\n", 0), 0u);
    EXPECT_EQ(JournalLines(dir.folder())[3], "Посылка: LOGI ***");
    for (const std::string& status : host.statuses)
        EXPECT_EQ(status.find("s3cret"), std::string::npos);
}

TEST_F(SnppDialogueTest, HoldTimeIsSentAsYearMonthDayHoursMinutesSeconds)
{
    ScriptedServer server({snppSession(allAccepted(5))});
    host.lines = {"x"};
    TSendParams p = params();
    p.DeferDate = "31.12.26 23:59";
    EXPECT_EQ(run(server, p), 0);
    EXPECT_EQ(server.received()[0].rfind("HOLD 261231235900\r\nPAGE 1234\r\n", 0), 0u);
}

TEST_F(SnppDialogueTest, MessageJoinsLinesAddsSignatureAndConverts)
{
    host.settings.ShortName = W("Оп");
    TSendParams p = params();
    p.CurSNPPEnc = "KOI8-R";
    std::string expected = W("Привет мир. Оп ");
    ASSERT_TRUE(ToKoi8r(dir.folder(), expected));
    EXPECT_EQ(
        SnppMessageText(dir.folder(), {W("Привет"), W("мир")}, host.settings.ShortName, "KOI8-R").value(),
        expected);
    // A last line ending with a point gets one space before the signature; empty lines add nothing.
    EXPECT_EQ(SnppMessageText(dir.folder(), {"a", "", "b."}, "S", "WIN-1251").value(), "a b. S ");
    EXPECT_EQ(SnppMessageText(dir.folder(), {"a ", "b"}, "", "WIN-1251").value(), "a b ");
    // An empty last line becomes the signature alone.
    EXPECT_EQ(SnppMessageText(dir.folder(), {"a", ""}, "S", "WIN-1251").value(), "a S ");
}

TEST_F(SnppDialogueTest, DigitalPagerOrBlockedSignatureSendsNoSignature)
{
    ScriptedServer server({snppSession(allAccepted(4)), snppSession(allAccepted(4))});
    host.settings.ShortName = "Sig";
    host.lines = {"123"};
    TSendParams p = params();
    p.CurDigital = 1;
    EXPECT_EQ(run(server, p), 0);
    host.signatureBlocked = true;
    EXPECT_EQ(run(server, params()), 0);
    EXPECT_NE(server.received()[0].find("MESS 123 \r\n"), std::string::npos);
    EXPECT_NE(server.received()[1].find("MESS 123 \r\n"), std::string::npos);
}

TEST_F(SnppDialogueTest, RefusedPageTellsTheSubscriberIsUnreachableAndSendsNoMessage)
{
    ScriptedServer server({snppSession({Reply("550 Unknown pager\r\n")})});
    host.lines = {"x"};
    EXPECT_EQ(run(server, params()), -1);
    EXPECT_EQ(server.received()[0], "PAGE 1234\r\n");
    EXPECT_THAT(prompts.texts(), ElementsAre("Абонент не доступен!"));
    EXPECT_EQ(utf8(host.statuses.back()), "Ошибка: 550 Unknown pager\r\n");
    EXPECT_EQ(JournalLines(dir.folder()).back(), "Ошибка: 550 Unknown pager");
    EXPECT_EQ(host.beeps, 1);
}

TEST_F(SnppDialogueTest, RefusedLoginFailsWithoutAMessageBox)
{
    ScriptedServer server({snppSession({Reply("502 Login incorrect\r\n")})});
    host.lines = {"x"};
    TSendParams p = params();
    p.CurSnppPswd = "bad";
    EXPECT_EQ(run(server, p), -1);
    EXPECT_TRUE(prompts.requests().empty());
    EXPECT_EQ(server.received()[0], "LOGI bad\r\n");
}

TEST_F(SnppDialogueTest, SplitAndMultiLineRepliesCountAsOneReply)
{
    ScriptedReply split;
    split.pieces = {"25", "0 OK\r\n"};
    ScriptedReply multi;
    multi.pieces = {"250-first\r\n", "250 last\r\n"};
    ScriptedServer server({snppSession({split, multi, Reply("250 OK\r\n"), Reply("221 Bye\r\n")})});
    host.lines = {"x"};
    EXPECT_EQ(run(server, params()), 0);
    const auto lines = JournalLines(dir.folder());
    EXPECT_EQ(std::count(lines.begin(), lines.end(), "Ответ: 250 OK"), 2);
    EXPECT_EQ(server.received()[0], "PAGE 1234\r\nMESS x \r\nSEND\r\nQUIT\r\n");
}

TEST_F(SnppDialogueTest, SilentServerEndsAtTheDeadlineWithTimeOut)
{
    ScriptedReply silence;
    silence.silent = true;
    ScriptedServer server({snppSession({silence})});
    host.lines = {"x"};
    host.Deadlines.net.replyMs = 300;
    EXPECT_EQ(run(server, params()), -1);
    const auto lines = JournalLines(dir.folder());
    ASSERT_GE(lines.size(), 2u);
    EXPECT_EQ(lines[lines.size() - 2], "Ошибка: Время ожидания истекло.");
    EXPECT_EQ(lines.back(), "");
}

TEST_F(SnppDialogueTest, OverlongReplyIsToldAsSuchAndAfterSendLeavesThePageUnknown)
{
    std::string flood;
    while (flood.size() <= MaxReplySize)
        flood += "250-more to come\r\n";
    host.lines = {"x"};
    for (const bool afterSend : {false, true}) {
        ScriptedServer server(
            {snppSession(afterSend ? std::vector{Reply("250 OK\r\n"), Reply("250 OK\r\n"), Reply(flood)}
                                   : std::vector{Reply(flood)})});
        EXPECT_EQ(run(server, params()), -1);
        EXPECT_EQ(host.LastFailure, afterSend ? FailureKind::Unknown : FailureKind::Final);
        const auto lines = JournalLines(dir.folder());
        EXPECT_THAT(std::vector<std::string>(lines.end() - 2, lines.end()),
                    ElementsAre("Ошибка: Ответ сервера слишком длинный", ""));
    }
}

TEST_F(SnppDialogueTest, ReplyThatIsNotANumberIsANegativeReply)
{
    ScriptedServer server({snppSession({Reply("hello\r\n")})});
    host.lines = {"x"};
    EXPECT_EQ(run(server, params()), -1);
    EXPECT_EQ(JournalLines(dir.folder()).back(), "Ошибка: hello");
}

TEST_F(SnppDialogueTest, ServerClosingWhereAReplyIsDueIsAResetConnection)
{
    ScriptedReply closing;
    closing.close = true;
    ScriptedServer server({snppSession({closing})});
    host.lines = {"x"};
    EXPECT_EQ(run(server, params()), -1);
    const auto lines = JournalLines(dir.folder());
    EXPECT_EQ(lines[lines.size() - 2], "Ошибка: Соединение закрыто удаленным хостом.");
    EXPECT_EQ(lines.back(), "");
}

TEST_F(SnppDialogueTest, StoredValuesWithLineBreaksOrOverlongLinesNeverReachTheWire)
{
    ScriptedServer server({snppSession({}), snppSession({Reply("250 OK\r\n")})});
    host.lines = {"x"};
    TSendParams p = params();
    p.CurSnppPswd = "a\r\nPAGE 666";
    EXPECT_EQ(run(server, p), -1);
    EXPECT_EQ(JournalLines(dir.folder())[JournalLines(dir.folder()).size() - 2],
              "Ошибка: Неверный аргумент.");

    host.lines = {std::string(5000, 'z')};
    EXPECT_EQ(run(server, params()), -1);
    const auto received = server.received();
    EXPECT_EQ(received[0], "");
    EXPECT_EQ(received[1], "PAGE 1234\r\n");
    EXPECT_EQ(JournalLines(dir.folder())[JournalLines(dir.folder()).size() - 2],
              "Ошибка: Сообщение очень длинное.");
}
