// SPDX-License-Identifier: GPL-3.0-or-later
// TAP pages through the send command, to a terminal of our own over TCP and behind a modem on a
// pseudo-terminal; and the block rules on their own.
#include "dispatch/TapLink.h"
#include "dispatch/TapProtocol.h"
#include "tests/support/TapTerminal.h"
#include "tests/unit/dispatch/SendCommandFixture.h"

#include <chrono>
#include <thread>

using namespace zolbin;
using namespace zolbin::test;
using ::testing::Contains;
using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::Not;

namespace {

class TapTest : public SendCommandTest
{
protected:
    void SetUp() override
    {
        SendCommandTest::SetUp();
        host.Deadlines.tap = {300, 3, 2000, 2000, 2000, 10, 200};
    }
    void addTapCompany(const std::string& name, const std::string& phone, const std::string& password = "")
    {
        TProvider p = LoopbackCompany(name, Gate::TAP, 1);
        p.TapPhone = phone;
        p.TapPswd = password;
        providers.Add(std::make_shared<TProvider>(p));
    }
    static std::string tcp(const TapTerminal& t) { return "127.0.0.1:" + std::to_string(t.port()); }
    long journalCount(const std::string& line)
    {
        const auto lines = JournalLines(dir.folder());
        return std::count(lines.begin(), lines.end(), line);
    }
};

const std::string ESC = "\x1b";

TapBehaviour behaviour(void (*set)(TapBehaviour&))
{
    TapBehaviour b;
    set(b);
    return b;
}

// The link's failure is its own: it is read where the link is, whichever thread met it.
TEST_F(TapTest, TcpLinkKeepsItsErrorAcrossThreads)
{
    ScriptedServer server({ScriptedSession{{}, {}}}); // accepts, then closes at once
    const std::unique_ptr<TapLink> link =
        OpenTapLink(host, host.settings, "127.0.0.1:" + std::to_string(server.port()));
    ASSERT_NE(link, nullptr);
    int received = 1;
    std::thread([&] {
        char buffer[16];
        received = link->Receive(buffer, sizeof buffer, 2000);
    }).join();
    EXPECT_EQ(received, -1);
    EXPECT_EQ(utf8(link->ErrorText()), "Соединение закрыто удаленным хостом.");
}

TEST_F(TapTest, PageAcceptedOverTcpTranscriptAndJournal)
{
    TapTerminal terminal(behaviour([](TapBehaviour& b) {
        b.password = "secret";
        b.notices = {"Processing"};
    }));
    addTapCompany("Tap", tcp(terminal), "secret");
    chooseSubscriber("Ann", 5, "Tap");
    EXPECT_EQ(send(), SendOutcome::Completed);
    // STX '5' CR "Hello" CR ETX sums to 0x248.
    EXPECT_EQ(terminal.received(), "\r" + ESC +
                                       "PG1secret\r\x02"
                                       "5\rHello\r\x03"
                                       "248\r\x04\r");
    EXPECT_THAT(JournalLines(dir.folder()),
                ElementsAre("Инициализация...", "Соединение с терминалом TAP " + tcp(terminal) + "...",
                            "Посылка: <CR>", "Ответ: ID=", "Посылка: <ESC>PG1***<CR>", "Ответ: Processing",
                            "Ответ: <ACK>", "Ответ: <ESC>[p", "Посылка: <STX>5<CR>***<CR><ETX>248<CR>",
                            "Ответ: <ACK>", "Посылка: <EOT><CR>", "Ответ: <ESC><EOT>",
                            "Сообщение успешно отправлено", ""));
    EXPECT_EQ(dir.read("Log/Ann.log"), "Tap, 07.12.2026 09:30\r\nHello\r\n\r\n");
}

struct TerminalCase
{
    const char* name;
    TapBehaviour behaviour;
    SendOutcome outcome;
    const char* journalLine; // UTF-8
    int blocksSent;
};

void PrintTo(const TerminalCase& c, std::ostream* os)
{
    *os << c.name;
}

class TapTerminalCases : public TapTest, public ::testing::WithParamInterface<TerminalCase>
{
};

TEST_P(TapTerminalCases, EndsAsTheTerminalDecides)
{
    const TerminalCase& c = GetParam();
    TapTerminal terminal(c.behaviour);
    addTapCompany("Tap", tcp(terminal));
    chooseSubscriber("Ann", 5, "Tap");
    const auto started = std::chrono::steady_clock::now();
    EXPECT_EQ(send(), c.outcome);
    // Whatever the terminal streams, every wait ends at its deadline and the journal stays small.
    EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(6));
    EXPECT_LT(dir.read("Zolbin.log").size(), 16000u);
    EXPECT_THAT(JournalLines(dir.folder()), Contains(HasSubstr(c.journalLine)));
    const std::string received = terminal.received();
    EXPECT_EQ(std::count(received.begin(), received.end(), '\x02'), c.blocksSent);
    EXPECT_EQ(terminal.pages().size(), c.outcome == SendOutcome::Completed ? 1u : 0u);
}

INSTANTIATE_TEST_SUITE_P(
    Tap, TapTerminalCases,
    ::testing::Values(
        TerminalCase{"NoisyBlockIsNakedAndSentAgain",
                     behaviour([](TapBehaviour& b) { b.noiseOnFirstBlock = true; }), SendOutcome::Completed,
                     "Ответ: <NAK>", 2},
        TerminalCase{"ThreeNaksFail", behaviour([](TapBehaviour& b) { b.blockNaks = 3; }),
                     SendOutcome::Stopped, "Ошибка: Терминал TAP трижды не принял блок (<NAK>)", 3},
        TerminalCase{"LogonNakedOnceThenAccepted", behaviour([](TapBehaviour& b) { b.logonNaks = 1; }),
                     SendOutcome::Completed, "Ответ: <NAK>", 1},
        TerminalCase{"LogonRefused", behaviour([](TapBehaviour& b) { b.refuseLogon = true; }),
                     SendOutcome::Stopped, "Ошибка: Терминал TAP отказал во входе (<ESC><EOT>)", 0},
        TerminalCase{"NoIdUntilTheDeadline", behaviour([](TapBehaviour& b) { b.silent = true; }),
                     SendOutcome::Stopped, "Ошибка: Терминал TAP не отвечает (нет «ID=»)", 0},
        // An answer counts only for the block it follows.
        TerminalCase{"AckBeforeTheBlockThenNaks", behaviour([](TapBehaviour& b) {
                         b.ackBeforeBlock = true;
                         b.blockNaks = 3;
                     }),
                     SendOutcome::Stopped, "Ошибка: Терминал TAP трижды не принял блок (<NAK>)", 3},
        TerminalCase{"AckBeforeTheBlockThenHangsUp", behaviour([](TapBehaviour& b) {
                         b.ackBeforeBlock = true;
                         b.closeOnBlock = true;
                     }),
                     SendOutcome::Stopped, "Ошибка: Соединение закрыто удаленным хостом.", 1},
        // The same on a slow line: the stale ACK is still arriving when the go-ahead is read.
        TerminalCase{"StaleAckOnASlowLineThenNaks", behaviour([](TapBehaviour& b) {
                         b.notices = {"110 1.8"};
                         b.ackBeforeBlock = true;
                         b.burstGapMs = 20;
                         b.blockNaks = 3;
                     }),
                     SendOutcome::Stopped, "Ошибка: Терминал TAP трижды не принял блок (<NAK>)", 3},
        TerminalCase{"ClosingThatNeverEndsLeavesThePageSent",
                     behaviour([](TapBehaviour& b) { b.endlessClosing = true; }), SendOutcome::Completed,
                     "Ошибка: Терминал TAP не завершил сеанс", 1},
        TerminalCase{"FloodWithoutId",
                     behaviour([](TapBehaviour& b) { b.floodBeforeId = std::string(4000, 'I'); }),
                     SendOutcome::Stopped, "Ошибка: Терминал TAP не отвечает (нет «ID=»)", 0},
        TerminalCase{"FloodOfLongNotices",
                     behaviour([](TapBehaviour& b) { b.floodOnLogon = std::string(1000, 'n'); }),
                     SendOutcome::Stopped, "Пропущено строк терминала: ", 0}),
    [](const auto& param) { return std::string(param.param.name); });

TEST_F(TapTest, EarlyAnswerIsJournaledAndLongLinesAreCut)
{
    addTapCompany("Tap", "");
    chooseSubscriber("Ann", 5, "Tap");
    for (const int gapMs : {0, 20}) { // read with the go-ahead, or still arriving on a slow line
        TapBehaviour b;
        b.ackBeforeBlock = true;
        b.blockNaks = 1;
        b.burstGapMs = gapMs;
        TapTerminal early(b);
        providers.Items(0)->TapPhone = tcp(early);
        EXPECT_EQ(send(), SendOutcome::Completed);
        const auto lines = JournalLines(dir.folder());
        const auto next = std::find(lines.rbegin(), lines.rend(), "Ответ: <ESC>[p").base();
        ASSERT_LT(next + 2, lines.end());
        EXPECT_EQ(next[0], "Ответ: <ACK>") << gapMs; // read before the block, answering nothing
        EXPECT_EQ(next[1], "Посылка: <STX>5<CR>***<CR><ETX>248<CR>") << gapMs;
        EXPECT_EQ(next[2], "Ответ: <NAK>") << gapMs;
    }

    TapTerminal flooding(behaviour([](TapBehaviour& b) { b.floodOnLogon = std::string(1000, 'n'); }));
    providers.Items(0)->TapPhone = tcp(flooding);
    EXPECT_EQ(send(), SendOutcome::Stopped);
    EXPECT_EQ(journalCount("Ответ: " + std::string(256, 'n') + "…"), 16);
}

TEST_F(TapTest, RefusedPagerFailsOneMemberWhileTheOthersAreServed)
{
    TapTerminal terminal(behaviour([](TapBehaviour& b) { b.refusedPagers = {"2"}; }));
    addTapCompany("Tap", tcp(terminal));
    addGroup({member("A", 1, "Tap"), member("B", 2, "Tap"), member("C", 3, "Tap")});
    prompts.answer(true);
    EXPECT_EQ(send(), SendOutcome::Completed);
    const auto pages = terminal.pages();
    ASSERT_EQ(pages.size(), 2u);
    EXPECT_EQ(pages[0].pager, "1");
    EXPECT_EQ(pages[1].pager, "3");
    ASSERT_EQ(prompts.texts().size(), 2u);
    EXPECT_EQ(prompts.texts()[0], "Абонент не доступен!");
    EXPECT_EQ(journalCount("Ошибка: <RS>"), 1);
    EXPECT_EQ(journalCount("Сообщение успешно отправлено"), 2);
}

// Through the outbox: a terminal silent after the last block may have the page, which is never sent again
// by itself; silence after an earlier block leaves the page incomplete there, and it waits for a retry.
TEST_F(TapTest, SilenceAfterTheLastBlockLeavesThePageUnknownAndEarlierSilenceWaits)
{
    struct Case
    {
        std::string message;
        PageState state;
        int attempts;
    };
    const Case cases[] = {{"Hello", PageState::Unknown, 1},
                          {std::string(300, 'a') + "\t" + std::string(200, 'b'), PageState::Failed, 2}};
    host.Deadlines.tap.replyMs = 500;
    for (const Case& c : cases) {
        TapTerminal terminal(behaviour([](TapBehaviour& b) { b.silentOnBlock = 1; }));
        providers = TProviderList();
        addTapCompany("Tap", tcp(terminal));
        chooseSubscriber("Ann", 5, "Tap");
        host.lines = {c.message};
        const OutboxPage page = sendThroughOutbox(2).front(); // tried at 0 and 1 minutes
        EXPECT_EQ(page.state, c.state) << c.attempts;
        EXPECT_EQ(page.attempts, c.attempts);
        const std::string received = terminal.received();
        EXPECT_EQ(std::count(received.begin(), received.end(), '\x02'), c.attempts);
    }
}

TEST_F(TapTest, LongMessageGoesInBlocksAndIsReassembled)
{
    TapTerminal terminal{TapBehaviour{}};
    addTapCompany("Tap", tcp(terminal));
    chooseSubscriber("Ann", 77, "Tap");
    host.settings.ShortName = W("Дежурный");
    const std::string first = std::string(300, 'a') + "\t" + std::string(200, 'b');
    host.lines = {first, std::string(120, 'c')};
    EXPECT_EQ(send(), SendOutcome::Completed);
    ASSERT_EQ(terminal.pages().size(), 1u);
    // TCP carries 8 bits: the signature arrives in KOI8-R.
    EXPECT_EQ(terminal.pages()[0].message,
              first + " " + std::string(120, 'c') + ". \xE4\xC5\xD6\xD5\xD2\xCE\xD9\xCA");
    const auto lines = JournalLines(dir.folder());
    EXPECT_EQ(std::count_if(lines.begin(), lines.end(),
                            [](const std::string& l) { return l.find("<US>") != std::string::npos; }),
              2);
    for (const std::string& line : lines)
        EXPECT_EQ(line.find("aaa"), std::string::npos) << "the message is never journaled";
}

struct ModemCase
{
    const char* name;
    std::string dialAnswer;
    std::uint32_t speed;
    const char* journalLine; // UTF-8
};

void PrintTo(const ModemCase& c, std::ostream* os)
{
    *os << c.name;
}

class TapModemCases : public TapTest, public ::testing::WithParamInterface<ModemCase>
{
};

TEST_P(TapModemCases, DialsThroughTheModem)
{
    const ModemCase& c = GetParam();
    TapTerminal terminal(TapBehaviour{}, ModemBehaviour{c.dialAnswer});
    addTapCompany("Tap", "555-1234");
    chooseSubscriber("Ann", 5, "Tap");
    host.settings.TapDevice = terminal.slavePath();
    host.settings.TapSpeed = c.speed;
    host.lines = {W("Привет")};
    const bool connects = c.dialAnswer.empty() && c.speed == 9600;
    EXPECT_EQ(send(), connects ? SendOutcome::Completed : SendOutcome::Stopped);
    EXPECT_THAT(JournalLines(dir.folder()), Contains(HasSubstr(c.journalLine)));
    if (connects) {
        // A 7-bit line carries KOI-7: KOI8-R with the eighth bit cleared.
        ASSERT_EQ(terminal.pages().size(), 1u);
        EXPECT_EQ(terminal.pages()[0].message, "pRIWET");
        EXPECT_THAT(terminal.dialled(), ElementsAre("555-1234"));
        EXPECT_THAT(JournalLines(dir.folder()), Contains("Посылка: ATH0"));
    } else {
        EXPECT_TRUE(terminal.pages().empty());
        EXPECT_THAT(JournalLines(dir.folder()), Not(Contains("Посылка: <CR>")));
        // A busy or silent line may answer later; a port that cannot be set up will not.
        EXPECT_EQ(host.LastFailure, c.speed == 9600 ? FailureKind::Passing : FailureKind::Final);
    }
}

INSTANTIATE_TEST_SUITE_P(Tap, TapModemCases,
                         ::testing::Values(ModemCase{"Connect", "", 9600, "Ответ: CONNECT 9600"},
                                           ModemCase{"Busy", "BUSY", 9600, "Ошибка: Линия занята (BUSY)"},
                                           ModemCase{
                                               "NoCarrier", "NO CARRIER", 9600,
                                               "Ошибка: Нет несущей, модемы не соединились (NO CARRIER)"},
                                           ModemCase{"UnsupportedSpeed", "", 12345,
                                                     "не открыт: скорость 12345 бит/с не поддерживается"}),
                         [](const auto& param) { return std::string(param.param.name); });

TEST_F(TapTest, ModemEscapeHasItsGuardTimeOfSilence)
{
    host.Deadlines.tap.guardMs = 300;
    TapTerminal terminal(TapBehaviour{}, ModemBehaviour{});
    addTapCompany("Tap", "555-1234");
    chooseSubscriber("Ann", 5, "Tap");
    host.settings.TapDevice = terminal.slavePath();
    EXPECT_EQ(send(), SendOutcome::Completed);
    const auto guards = terminal.escapeGuards();
    ASSERT_EQ(guards.size(), 1u);
    EXPECT_GE(guards[0].first, 290);  // quiet before "+++"
    EXPECT_GE(guards[0].second, 290); // and after it, before ATH0
}

TEST(TapProtocol, ChecksumEscapeAndBlockLimits)
{
    // The worked example of the protocol's description: STX "123" CR "ABC" CR ETX sums to 0x17B.
    EXPECT_EQ(tap::Checksum("\x02"
                            "123\rABC\r\x03"),
              "17;");
    EXPECT_EQ(tap::Checksum("\x02"
                            "123\rABC\r\x03"),
              TapTerminal::ChecksumOf("\x02"
                                      "123\rABC\r\x03"));
    EXPECT_EQ(tap::Escape("a\tb\x1a"), "a\x1aIb\x1aZ");
    // An escape pair that would straddle the 250th character moves whole into the next block.
    const std::string message = std::string(247, 'x') + "\t" + std::string(10, 'y');
    const auto blocks = tap::Blocks("1", message);
    ASSERT_EQ(blocks.size(), 2u);
    const std::string& head = blocks[0].wire;
    EXPECT_EQ(head.substr(head.size() - 6, 2), "x\x1f");
    EXPECT_EQ(blocks[1].wire.substr(0, 3), "\x02\x1aI");
    for (const auto& b : blocks)
        EXPECT_LE(b.wire.size(), 1 + tap::MaxBlockData + 1 + 3 + 1);
}

TEST(TapProtocol, PhoneValueChoosesTheLine)
{
    EXPECT_EQ(TapTcpAddress("pager.example:7000")->host, "pager.example");
    EXPECT_EQ(TapTcpAddress("[::1]:444")->host, "::1");
    EXPECT_EQ(TapTcpAddress("[::1]:444")->port, 444);
    for (const char* number : {"5551234", "12:ab", "::1:444", "host:0", "host:70000", "[::1]444"})
        EXPECT_FALSE(TapTcpAddress(number)) << number;
    EXPECT_TRUE(DialableNumber("8 (495) 123-45-67,,2#"));
    EXPECT_FALSE(DialableNumber("123;ATH"));
    EXPECT_FALSE(DialableNumber("123\r"));
}

} // namespace
