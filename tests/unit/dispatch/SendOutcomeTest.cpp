// SPDX-License-Identifier: GPL-3.0-or-later
// What the operator is told is what the server did: replies larger than any buffer keep the dialogue in
// step, nothing after acceptance undoes a page, a failing journal never tears a line nor turns a sent page
// into a failed one, and stored names cannot forge journal lines.

#include "dispatch/TapLink.h"
#include "tests/support/TapTerminal.h"
#include "tests/unit/dispatch/SendCommandFixture.h"
#include "tests/unit/platform/FileSizeLimit.h"

#include <numeric>

using namespace zolbin;
using namespace zolbin::test;
using ::testing::ElementsAre;

namespace {

// A multi-line reply of `lines` lines of 600 bytes each, arriving line by line: larger than one read,
// and slow.
ScriptedReply LongReply(const std::string& code, int lines = 16)
{
    ScriptedReply reply;
    for (int i = 0; i < lines; ++i) {
        const bool last = i == lines - 1;
        reply.pieces.push_back(code + (last ? " " : "-") + std::string(594, 'x') + "\r\n");
    }
    return reply;
}

ScriptedSession withGreeting(ScriptedSession session, const ScriptedReply& greeting)
{
    session.greeting = greeting.pieces;
    return session;
}

ScriptedSession withReply(ScriptedSession session, std::size_t step, ScriptedReply reply)
{
    reply.mailData = session.replies[step].mailData;
    session.replies[step] = std::move(reply);
    return session;
}

ScriptedReply Silent()
{
    ScriptedReply r;
    r.silent = true;
    return r;
}

ScriptedReply Closed()
{
    ScriptedReply r;
    r.close = true;
    return r;
}

ScriptedSession everyReplyLong(ScriptedSession session)
{
    session.greeting = LongReply("220").pieces;
    for (ScriptedReply& r : session.replies)
        r.pieces = LongReply(r.pieces[0].substr(0, 3), 8).pieces;
    return session;
}

struct OutcomeCase
{
    const char* what;
    std::uint8_t gate;
    ScriptedSession session;
    bool sent;
};

const int SnppSend = 2; // PAGE, MESS, SEND, QUIT
const int SnppQuit = 3;
const int SmtpEnd = 4; // HELO, MAIL, RCPT, DATA, ".", QUIT
const int SmtpQuit = 5;

std::vector<OutcomeCase> outcomeCases()
{
    const ScriptedReply longGreeting = LongReply("220");
    return {
        {"SNPP: a long slow greeting, then SEND refused", Gate::SNPP,
         withReply(withGreeting(snppOk(), longGreeting), SnppSend, Reply("554 refused\r\n")), false},
        {"SMTP: a long slow greeting, then the mail refused", Gate::SMTP,
         withReply(withGreeting(relayOk(), longGreeting), SmtpEnd, Reply("554 refused\r\n")), false},
        {"SNPP: every reply long", Gate::SNPP, everyReplyLong(snppOk()), true},
        {"SMTP: every reply long", Gate::SMTP, everyReplyLong(relayOk()), true},
        {"SNPP: QUIT refused after SEND was accepted", Gate::SNPP,
         withReply(snppOk(), SnppQuit, Reply("554 no\r\n")), true},
        {"SNPP: connection closed at QUIT", Gate::SNPP, withReply(snppOk(), SnppQuit, Closed()), true},
        {"SMTP: connection closed at QUIT", Gate::SMTP, withReply(relayOk(), SmtpQuit, Closed()), true},
        {"SMTP: no answer to QUIT", Gate::SMTP, withReply(relayOk(), SmtpQuit, Silent()), true},
    };
}

using SendOutcomeTest = SendCommandTest;

} // namespace

TEST_F(SendOutcomeTest, TheOutcomeIsWhatTheServerSaidToThePage)
{
    host.Deadlines.net.replyMs = 1000;
    for (const OutcomeCase& c : outcomeCases()) {
        SCOPED_TRACE(c.what);
        TempDataDir caseDir;
        host.folder = caseDir.folder();
        host.journal = TJournal(caseDir.folder());
        ASSERT_TRUE(host.journal.EnsureExists());
        providers = TProviderList();
        ScriptedServer server({c.session});
        addCompany("Acme", c.gate, server.port());
        chooseSubscriber("Ann", 5, "Acme");
        host.settings.SMTPServer = "127.0.0.1";

        EXPECT_EQ(send(), c.sent ? SendOutcome::Completed : SendOutcome::Stopped);
        const auto lines = JournalLines(caseDir.folder());
        ASSERT_GE(lines.size(), 2u);
        EXPECT_EQ(lines[lines.size() - 2],
                  c.sent ? "Сообщение успешно отправлено" : "Ошибка: Сообщение отправлено не было");
        EXPECT_EQ(lines.back(), "");
        EXPECT_EQ(caseDir.exists("Log/Ann.log"), c.sent);
        // Every reply was read as one: no reply line stands alone without its "Ответ:" or "Ошибка:".
        for (const std::string& line : lines)
            EXPECT_NE(line.rfind("xxxx", 0), 0u) << line;
        EXPECT_FALSE(fileErrorSeen);
    }
}

struct FailureCase
{
    const char* what;
    std::uint8_t gate;
    std::optional<ScriptedSession> session; // none: nothing listens
    FailureKind kind;
};

// Whether a failed page is worth another attempt later: a passing reason (no connection, a time-out, a
// 4xx reply, a terminal that does not answer) or a refusal for good.
TEST_F(SendOutcomeTest, EachFailureSaysWhetherItPasses)
{
    host.Deadlines.net.replyMs = 500;
    host.Deadlines.tap = {200, 1, 500, 500, 500, 10};
    const int RcptStep = 2;
    const FailureCase cases[] = {
        {"SNPP: 421 to PAGE", Gate::SNPP, withReply(snppOk(), 0, Reply("421 busy\r\n")),
         FailureKind::Passing},
        {"SNPP: 554 to SEND", Gate::SNPP, withReply(snppOk(), SnppSend, Reply("554 no\r\n")),
         FailureKind::Final},
        {"SNPP: nothing listens", Gate::SNPP, std::nullopt, FailureKind::Passing},
        {"SMTP: 451 to the mail", Gate::SMTP, withReply(relayOk(), SmtpEnd, Reply("451 later\r\n")),
         FailureKind::Passing},
        {"SMTP: 550 to RCPT", Gate::SMTP, withReply(relayOk(), RcptStep, Reply("550 who\r\n")),
         FailureKind::Final},
        {"SMTP: no answer to RCPT", Gate::SMTP, withReply(relayOk(), RcptStep, Silent()),
         FailureKind::Passing},
        {"SNPP: letters for a digital pager", Gate::SNPP, snppOk(), FailureKind::Final},
    };
    for (const FailureCase& c : cases) {
        SCOPED_TRACE(c.what);
        providers = TProviderList();
        std::optional<ScriptedServer> server;
        if (c.session)
            server.emplace(std::vector<ScriptedSession>{*c.session});
        addCompany("Acme", c.gate, server ? server->port() : ScriptedServer::closedPort());
        chooseSubscriber("Ann", 5, "Acme");
        params.CurDigital = std::string(c.what).find("digital") != std::string::npos ? 1 : 0;
        host.LastFailure = c.kind == FailureKind::Final ? FailureKind::Passing : FailureKind::Final;
        EXPECT_EQ(send(), SendOutcome::Stopped);
        EXPECT_EQ(host.LastFailure, c.kind);
    }
    params.CurDigital = 0;
    for (const bool silent : {true, false}) {
        TapBehaviour b;
        b.silent = silent;
        b.refuseLogon = !silent;
        TapTerminal terminal(b);
        providers = TProviderList();
        TProvider tap = LoopbackCompany("Tap", Gate::TAP, 1);
        tap.TapPhone = "127.0.0.1:" + std::to_string(terminal.port());
        providers.Add(std::make_shared<TProvider>(tap));
        chooseSubscriber("Ann", 5, "Tap");
        EXPECT_EQ(send(), SendOutcome::Stopped);
        EXPECT_EQ(host.LastFailure, silent ? FailureKind::Passing : FailureKind::Final)
            << "silent " << silent;
    }
}

TEST_F(SendOutcomeTest, AJournalThatFillsUpAfterAcceptanceLeavesThePageSentAndNoTornLine)
{
    // The journal may grow one byte past the "Посылка: SEND" line: every line that follows, the empty
    // one too, is cut short by the limit and must not be left torn.
    const std::vector<std::string> kept{
        "Инициализация...", "Соединение с сервером...", "Попытка 1...",  "220 SNPP",     "Посылка: PAGE 5",
        "Ответ: 250 OK",    "Посылка: MESS ***",        "Ответ: 250 OK", "Посылка: SEND"};
    const std::size_t keptBytes =
        std::accumulate(kept.begin(), kept.end(), std::size_t{0},
                        [](std::size_t n, const std::string& line) { return n + cp(line).size() + 2; });

    ScriptedServer server({snppOk()});
    addCompany("Acme", Gate::SNPP, server.port());
    chooseSubscriber("Ann", 5, "Acme");
    SendOutcome outcome;
    {
        FileSizeLimit limit(keptBytes + 1);
        ASSERT_TRUE(limit.active());
        outcome = send();
    }
    EXPECT_EQ(outcome, SendOutcome::Completed);
    EXPECT_TRUE(fileErrorSeen);
    EXPECT_EQ(JournalLines(dir.folder()), kept);
    EXPECT_EQ(dir.read("Log/Ann.log"), "Acme, 07.12.2026 09:30\r\nHello\r\n\r\n");
    ASSERT_EQ(prompts.requests().size(), 1u); // the file error, told on its own
    EXPECT_EQ(host.completed, 1);
}

TEST_F(SendOutcomeTest, AJournalThatFailsBeforeThePageStopsBeforeAnythingMoreIsSent)
{
    ScriptedServer server({snppOk()});
    addCompany("Acme", Gate::SNPP, server.port());
    chooseSubscriber("Ann", 5, "Acme");
    SendOutcome outcome;
    {
        FileSizeLimit limit(cp("Инициализация...").size() + 2); // room for the first line only
        ASSERT_TRUE(limit.active());
        outcome = send();
    }
    EXPECT_EQ(outcome, SendOutcome::Stopped);
    EXPECT_TRUE(fileErrorSeen);
    EXPECT_EQ(server.received().at(0), ""); // connected, but not a line was sent
    EXPECT_THAT(JournalLines(dir.folder()), ElementsAre("Инициализация..."));
    EXPECT_EQ(prompts.requests().size(), 1u);
}

TEST_F(SendOutcomeTest, StoredNamesCannotForgeJournalLines)
{
    ScriptedServer server({snppOk()});
    addCompany("Acme", Gate::SNPP, server.port());
    addCompany("Dead", Gate::SNPP, ScriptedServer::closedPort());
    addGroup({member("x\r\nFORGED LINE", 1, "Dead"), member("\x1b[2Jy", 2, "Acme")});
    prompts.answer(true);
    EXPECT_EQ(send(), SendOutcome::Completed);
    const auto lines = JournalLines(dir.folder());
    for (const std::string& line : lines)
        EXPECT_EQ(line.find_first_of("\x1b"), std::string::npos) << line;
    EXPECT_EQ(std::find(lines.begin(), lines.end(), "FORGED LINE"), lines.end());
    EXPECT_NE(std::find(lines.begin(), lines.end(), "Отправка сообщения для абонента x\\x0D\\x0AFORGED LINE"),
              lines.end());
    EXPECT_NE(std::find(lines.begin(), lines.end(), "Отправка сообщения для абонента \\x1B[2Jy"),
              lines.end());
}
