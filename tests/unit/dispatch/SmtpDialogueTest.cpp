// SPDX-License-Identifier: GPL-3.0-or-later
#include "dispatch/CodeTables.h"
#include "dispatch/Connection.h"
#include "dispatch/Smtp.h"
#include "tests/unit/dispatch/NetTestSupport.h"

using namespace zolbin;
using namespace zolbin::test;
using ::testing::ElementsAre;

namespace {

ScriptedSession relaySession()
{
    return {{"220 relay ESMTP\r\n"},
            {Reply("250 relay\r\n"), Reply("250 sender ok\r\n"), Reply("250 rcpt ok\r\n"),
             DataReply("354 go ahead\r\n"), Reply("250 queued\r\n"), Reply("221 bye\r\n")}};
}

class SmtpDialogueTest : public NetTest
{
protected:
    void SetUp() override
    {
        NetTest::SetUp();
        host.settings.SMTPServer = "relay.local";
        host.settings.EMail = "op@example.org";
    }

    TSendParams params()
    {
        TSendParams p;
        p.CurNumber = 4321;
        p.CurSMTPEMail = "@pager.local";
        p.CurSMTPEnc = "WIN-1251";
        return p;
    }

    int run(ScriptedServer& server, const TSendParams& p)
    {
        int s = ConnectToServer(host, sockets, "127.0.0.1", server.port());
        return s < 0 ? -2 : DialogueCode(SmtpDialogue(host, s, p, host.lines));
    }
};

} // namespace

TEST_F(SmtpDialogueTest, WholeMailWithNameSignatureAndConversion)
{
    ScriptedServer server({relaySession()});
    host.settings.Name = W("Иван");
    host.settings.ShortName = W("Ив");
    host.lines = {W("Привет"), "", ".", W("Пока")};
    TSendParams p = params();
    p.CurSMTPEnc = "KOI8-R";
    ASSERT_EQ(run(server, p), 0);

    auto koi = [this](const char* text) {
        std::string s = cp(text);
        EXPECT_TRUE(ToKoi8r(dir.folder(), s).ok());
        return s;
    };
    const std::string expected = "HELO relay.local\r\n"
                                 "MAIL FROM: op@example.org\r\n"
                                 "RCPT TO: 4321@pager.local\r\n"
                                 "DATA\r\n"
                                 "X-Mailer: Zolbin Sender 2.0.1 127.0.0.1\r\n"
                                 "Content-Type: text/plain; charset=koi8-r\r\n"
                                 "Subject: \r\n"
                                 "From: \"" +
                                 koi("Иван") +
                                 "\" <op@example.org>\r\n"
                                 "To: 4321@pager.local\r\n"
                                 "\r\n" +
                                 koi("Привет") + "\r\n..\r\n" + koi("Пока. Ив") + "\r\n.\r\nQUIT\r\n";
    EXPECT_EQ(server.received()[0], expected);
}

TEST_F(SmtpDialogueTest, JournalShowsOnlyTheEnvelopeTheEndOfDataAndQuit)
{
    ScriptedServer server({relaySession()});
    host.lines = {"text"};
    ASSERT_EQ(run(server, params()), 0);
    EXPECT_THAT(JournalLines(dir.folder()),
                ElementsAre("Соединение с сервером...", "Попытка 1...", "220 relay ESMTP",
                            "Посылка: HELO relay.local", "Ответ: 250 relay",
                            "Посылка: MAIL FROM: op@example.org", "Ответ: 250 sender ok",
                            "Посылка: RCPT TO: 4321@pager.local", "Ответ: 250 rcpt ok", "Посылка: DATA",
                            "Ответ: 354 go ahead", "Ответ: 250 queued", "Посылка: QUIT", "Ответ: 221 bye"));
}

TEST_F(SmtpDialogueTest, NoNameMeansNoFromLine)
{
    ScriptedServer server({relaySession()});
    host.lines = {"t"};
    ASSERT_EQ(run(server, params()), 0);
    const std::string mail = server.received()[0];
    EXPECT_EQ(mail.find("From: "), std::string::npos);
    EXPECT_NE(mail.find("Subject: \r\nTo: 4321@pager.local\r\n\r\nt\r\n.\r\n"), std::string::npos);
}

TEST_F(SmtpDialogueTest, FailureAtQuitAfterTheMailWasTakenIsJournaledButTheMailStaysSent)
{
    ScriptedSession session = relaySession();
    session.replies.back() = Reply("451 odd\r\n");
    ScriptedServer server({session});
    host.lines = {"t"};
    EXPECT_EQ(run(server, params()), 0);
    EXPECT_EQ(JournalLines(dir.folder()).back(), "Ошибка: 451 odd");
}

TEST_F(SmtpDialogueTest, OnlyACompletionReplyAfterTheEndOfDataTakesTheMail)
{
    // A relay answering 334 to every line: the first-character rule lets the envelope pass, but the
    // mail is taken only by a 2xx reply to the final ".".
    ScriptedServer server({{{"220 relay\r\n"},
                            {Reply("334 \r\n"), Reply("334 \r\n"), Reply("334 \r\n"), DataReply("334 \r\n"),
                             Reply("334 \r\n"), Reply("334 \r\n")}}});
    host.lines = {"t"};
    EXPECT_EQ(run(server, params()), -1);
    EXPECT_EQ(JournalLines(dir.folder()).back(), "Ошибка: 334 ");
    EXPECT_EQ(server.received()[0].find("QUIT"), std::string::npos);
}

TEST_F(SmtpDialogueTest, ControlCharactersOfAReplyAreJournaledVisibly)
{
    ScriptedSession session = relaySession();
    session.greeting = {"220-relay \x1b[2J\r\n", "220 ready\a\r\n"};
    session.replies[2] = Reply("550 no\x1b]0;owned\x07 such user\r\n");
    ScriptedServer server({session});
    host.lines = {"t"};
    EXPECT_EQ(run(server, params()), -1);
    const std::string journal = dir.read("Zolbin.log");
    EXPECT_EQ(journal.find_first_of("\x1b\x07"), std::string::npos);
    EXPECT_THAT(JournalLines(dir.folder()), ::testing::Contains("220-relay \\x1B[2J"));
    EXPECT_THAT(JournalLines(dir.folder()),
                ::testing::Contains("Ошибка: 550 no\\x1B]0;owned\\x07 such user"));
    EXPECT_EQ(host.statusesUtf8().back(), "Ошибка: 550 no\\x1B]0;owned\\x07 such user\r\n");
}

TEST_F(SmtpDialogueTest, RefusedRecipientEndsTheDialogue)
{
    ScriptedServer server(
        {{{"220 relay\r\n"}, {Reply("250 a\r\n"), Reply("250 b\r\n"), Reply("550 no such user\r\n")}}});
    host.lines = {"t"};
    EXPECT_EQ(run(server, params()), -1);
    EXPECT_EQ(server.received()[0],
              "HELO relay.local\r\nMAIL FROM: op@example.org\r\nRCPT TO: 4321@pager.local\r\n");
    EXPECT_TRUE(prompts.requests().empty());
}

TEST_F(SmtpDialogueTest, MultiLineGreetingAndRepliesAreRead)
{
    ScriptedSession session = relaySession();
    session.greeting = {"220-relay\r\n", "220 ready\r\n"};
    session.replies[0].pieces = {"250-relay\r\n250-PIPELINING\r\n", "250 8BITMIME\r\n"};
    ScriptedServer server({session});
    host.lines = {"t"};
    EXPECT_EQ(run(server, params()), 0);
}

TEST_F(SmtpDialogueTest, SenderNameWithALineBreakIsRefusedBeforeTheHeader)
{
    ScriptedServer server({relaySession()});
    host.settings.Name = "Eve\r\nBcc: x@y";
    host.lines = {"t"};
    EXPECT_EQ(run(server, params()), -1);
    EXPECT_EQ(server.received()[0].find("Bcc"), std::string::npos);
}

TEST(SmtpSubject, PartsInTheirOrder)
{
    TSendParams p;
    p.CurNumber = 77;
    p.CurSMTPEMail = "@gw";
    EXPECT_EQ(SmtpSubject(p, false), "");
    p.CurSMTPEMail = "gate@gw";
    EXPECT_EQ(SmtpSubject(p, false), "77 ");
    p.DeferDate = "07.12.2026";
    p.DeferTime = "09:05";
    EXPECT_EQ(SmtpSubject(p, false), "77 07/12/2026 09:05 ");
    p.RepeatCount = 2;
    p.RepeatInterval = "01:30";
    EXPECT_EQ(SmtpSubject(p, true), "77 07/12/2026 09:05 2*90 ^^^");
    p.CurSMTPEMail = "@gw";
    p.DeferDate.clear();
    p.RepeatCount = 1;
    p.RepeatInterval = "00:15";
    EXPECT_EQ(SmtpSubject(p, false), "1*15");
    EXPECT_EQ(SmtpRecipient(p), "77@gw");
}

TEST(SmtpBody, DotsAreDoubledAndEmptyLinesDropped)
{
    const TempDataDir dir;
    EXPECT_THAT(SmtpBodyLines(dir.folder(), {".", "..", "", "a.b"}, "", "WIN-1251").value(),
                ElementsAre("..", "...", "a.b"));
    EXPECT_THAT(SmtpBodyLines(dir.folder(), {"end."}, "S", "WIN-1251").value(), ElementsAre("end. S"));
}

TEST_F(SmtpDialogueTest, RefusedStartTlsEndsTheDialogueWithNothingMoreSentInClear)
{
    ScriptedServer server(
        {{{"220 relay\r\n"},
          {Reply("250-relay\r\n250-STARTTLS\r\n250 AUTH PLAIN\r\n"), Reply("454 TLS not available\r\n")}}});
    host.settings.SMTPSecurity = 1;
    host.settings.SMTPUser = "op";
    host.smtpPassword = "secret";
    host.lines = {"t"};
    net::TlsSession tls;
    int s = ConnectToServer(host, sockets, "127.0.0.1", server.port());
    ASSERT_GE(s, 0);
    EXPECT_EQ(DialogueCode(SmtpDialogue(host, s, params(), host.lines, &tls)), -1);
    EXPECT_FALSE(tls.Active());
    EXPECT_EQ(server.received()[0], "EHLO relay.local\r\nSTARTTLS\r\n");
    EXPECT_EQ(host.statusesUtf8().back(), "Ошибка: 454 TLS not available\r\n");
}
