// SPDX-License-Identifier: GPL-3.0-or-later
// SMS through a GSM modem of our own on a pseudo-terminal, which decodes each PDU itself: the texts as
// they arrive, the modem's behaviours, and the encoder against published examples.
#include "dispatch/Sms.h"

#include "directory/SmsNumber.h"
#include "dispatch/SmsPdu.h"
#include "tests/support/GsmModem.h"
#include "tests/unit/dispatch/SendCommandFixture.h"

using namespace zolbin;
using namespace zolbin::test;
using ::testing::Contains;
using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::Not;

namespace {

class SmsTest : public SendCommandTest
{
protected:
    void SetUp() override
    {
        SendCommandTest::SetUp();
        host.Deadlines.gsm = {1000, 2000};
        TProvider p = LoopbackCompany("Sms", Gate::SMS, 1);
        p.TapPhone = "+7912#######";
        providers.Add(std::make_shared<TProvider>(p));
        chooseSubscriber("Ann", 3456789, "Sms");
    }
    SmsOutcome sendTo(const GsmModem& modem)
    {
        host.settings.GsmDevice = modem.slavePath();
        return SmsSending(host, *modems, *providers.Items(providers.IndexOfName("Sms")), params, host.lines);
    }
    std::string journalText()
    {
        std::string all;
        for (const std::string& line : JournalLines(dir.folder()))
            all += line + "\n";
        return all;
    }
};

std::string repeated(const std::string& utf8Text, int times)
{
    std::string out;
    for (int i = 0; i < times; ++i)
        out += utf8Text;
    return out;
}

TEST_F(SmsTest, PageSentThroughTheSendCommandTranscriptAndJournal)
{
    GsmModem modem(GsmBehaviour{});
    host.settings.GsmDevice = modem.slavePath();
    host.lines = {W("Привет")};
    EXPECT_EQ(send(), SendOutcome::Completed);
    ASSERT_EQ(modem.messages().size(), 1u);
    EXPECT_EQ(modem.messages()[0].number, "+79123456789");
    EXPECT_EQ(modem.messages()[0].text, "Привет");
    EXPECT_THAT(JournalLines(dir.folder()),
                ElementsAre("Инициализация...", "Открытие порта " + modem.slavePath() + "...", "Посылка: AT",
                            "Ответ: OK", "Посылка: ATE0", "Ответ: OK", "Посылка: AT+CPIN?",
                            "Ответ: +CPIN: READY", "Ответ: OK", "Посылка: AT+CMGF=0", "Ответ: OK",
                            "Посылка: AT+CMGS=25", "Ответ: > ", "Посылка: PDU (октетов: 25)<SUB>",
                            "Ответ: +CMGS: 1", "Ответ: OK", "Сообщение успешно отправлено", ""));
    EXPECT_EQ(dir.read("Log/Ann.log"), W("Sms, 07.12.2026 09:30\r\nПривет\r\n\r\n"));
}

struct TextCase
{
    const char* name;
    std::string utf8Text;
    int coding;
    int parts;
};

class SmsTexts : public SmsTest, public ::testing::WithParamInterface<TextCase>
{
};

TEST_P(SmsTexts, ArriveAsTyped)
{
    const TextCase& c = GetParam();
    GsmModem modem(GsmBehaviour{});
    host.lines = {cp(c.utf8Text)};
    const SmsOutcome outcome = sendTo(modem);
    EXPECT_EQ(outcome.state, SmsOutcome::State::Accepted);
    ASSERT_EQ(modem.messages().size(), 1u);
    EXPECT_EQ(modem.messages()[0].coding, c.coding);
    EXPECT_EQ(modem.messages()[0].parts, c.parts);
    EXPECT_EQ(modem.messages()[0].text, c.utf8Text);
    EXPECT_THAT(journalText(), Not(HasSubstr(c.utf8Text.substr(0, 4))));
}

INSTANTIATE_TEST_SUITE_P(Sms, SmsTexts,
                         ::testing::Values(TextCase{"Latin", "Meet at 10:30, gate B", 0x00, 1},
                                           TextCase{"Cyrillic", "Привет", 0x08, 1},
                                           TextCase{"LongCyrillic", repeated("Ж", 200), 0x08, 3},
                                           TextCase{"Escapes", "[alarm] ~ {3} | 5€ \\", 0x00, 1},
                                           TextCase{"EscapeAtPartEdge",
                                                    repeated("a", 152) + "[" + repeated("b", 20), 0x00, 2},
                                           TextCase{"SeventyCyrillic", repeated("ы", 70), 0x08, 1},
                                           TextCase{"OneSeventyLatin", repeated("x", 161), 0x00, 2}),
                         [](const auto& param) { return std::string(param.param.name); });

struct BehaviourCase
{
    const char* name;
    GsmBehaviour modem;
    std::string pin;
    int lengthInCyrillic; // the page: this many Cyrillic letters
    SmsOutcome::State state;
    FailureKind kind;
    int partsSent;
    int pinTries; // AT+CPIN= commands over two pages
    const char* journal;
    int delivered; // messages the network got of the two pages
};

class SmsBehaviours : public SmsTest, public ::testing::WithParamInterface<BehaviourCase>
{
};

TEST_P(SmsBehaviours, ToldTruthfully)
{
    const BehaviourCase& c = GetParam();
    GsmModem modem(c.modem);
    host.simPin = c.pin;
    host.lines = {cp(repeated("щ", c.lengthInCyrillic))};
    const SmsOutcome first = sendTo(modem);
    EXPECT_EQ(first.state, c.state);
    EXPECT_EQ(first.partsSent, c.partsSent);
    if (c.state != SmsOutcome::State::Accepted) {
        EXPECT_EQ(first.kind, c.kind);
    }
    (void)sendTo(modem); // a second page on the same line
    EXPECT_EQ(modem.messages().size(), static_cast<std::size_t>(c.delivered));
    const auto commands = modem.commands();
    EXPECT_EQ(std::count_if(commands.begin(), commands.end(),
                            [](const std::string& s) { return s.rfind("AT+CPIN=", 0) == 0; }),
              c.pinTries);
    EXPECT_THAT(journalText(), HasSubstr(c.journal));
    if (!c.pin.empty()) {
        EXPECT_THAT(journalText(), Not(HasSubstr(c.pin)));
        EXPECT_THAT(journalText(), Not(HasSubstr("CPIN=\"")));
    }
}

GsmBehaviour refusing(std::map<int, int> parts)
{
    GsmBehaviour b;
    b.refusedParts = std::move(parts);
    return b;
}

GsmBehaviour locked(const std::string& pin, bool puk = false, const std::string& echoNoise = {})
{
    GsmBehaviour b;
    b.pin = pin;
    b.puk = puk;
    b.echoNoise = echoNoise;
    return b;
}

GsmBehaviour barePrompt()
{
    GsmBehaviour b;
    b.barePrompt = true;
    return b;
}

using State = SmsOutcome::State;
INSTANTIATE_TEST_SUITE_P(
    Sms, SmsBehaviours,
    ::testing::Values(
        BehaviourCase{"PinAccepted", locked("4321"), "4321", 5, State::Accepted, FailureKind::Final, 1, 1,
                      "Посылка: AT+CPIN=***", 2},
        BehaviourCase{"PinEchoedAmongNoise", locked("4321", false, std::string(1, '\0')), "4321", 5,
                      State::Accepted, FailureKind::Final, 1, 1, "Посылка: AT+CPIN=***\nОтвет: OK", 2},
        // The echo's line is cut inside the PIN: neither piece is shown.
        BehaviourCase{"PinEchoCutInALongLine", locked("4321", false, std::string(245, '~')), "4321", 5,
                      State::Accepted, FailureKind::Final, 1, 1, "Посылка: AT+CPIN=***\nОтвет: OK", 2},
        BehaviourCase{"PinRefusedNeverTriedAgain", locked("4321"), "1111", 5, State::Failed,
                      FailureKind::Final, 0, 1, "повторно он не вводится", 0},
        BehaviourCase{"Puk", locked("4321", true), "4321", 5, State::Failed, FailureKind::Final, 0, 0, "PUK",
                      0},
        BehaviourCase{"NoNetworkPasses", refusing({{1, 331}, {2, 331}}), "", 5, State::Failed,
                      FailureKind::Passing, 0, 0, "нет сети (+CMS ERROR: 331)", 0},
        BehaviourCase{"UnassignedNumberIsFinal", refusing({{1, 1}, {2, 1}}), "", 5, State::Failed,
                      FailureKind::Final, 0, 0, "номер не существует (+CMS ERROR: 1)", 0},
        BehaviourCase{"SecondOfThreeRefused", refusing({{2, 42}}), "", 200, State::Failed, FailureKind::Final,
                      1, 0, "отправлено частей: 1 из 3", 1},
        BehaviourCase{"SilentAfterThePduIsUnknown", refusing({{1, SilentAfterPdu}}), "", 5, State::Failed,
                      FailureKind::Unknown, 0, 0, "дошла ли она — неизвестно", 1},
        BehaviourCase{"OkWithoutReferenceIsUnknown", refusing({{1, OkWithoutReference}}), "", 5,
                      State::Failed, FailureKind::Unknown, 0, 0, "OK без +CMGS на отправку части 1 из 1", 2},
        // The input the modem never prompted for is cancelled before the next page says anything.
        BehaviourCase{"NoPromptThenTheNextPageGoes", refusing({{1, NoPrompt}}), "", 5, State::Failed,
                      FailureKind::Passing, 0, 0, "...\nПосылка: <ESC>\nОтвет: OK\nПосылка: ATZ", 1},
        BehaviourCase{"BarePrompt", barePrompt(), "", 5, State::Accepted, FailureKind::Final, 1, 0,
                      "Ответ: >\nПосылка: PDU", 2}),
    [](const auto& param) { return std::string(param.param.name); });

TEST_F(SmsTest, SilentModemEndsAtTheDeadlineAndIsResetBeforeTheNextPage)
{
    GsmBehaviour b;
    b.silent = true;
    GsmModem modem(b);
    host.lines = {"Hi"};
    const SmsOutcome silent = sendTo(modem);
    EXPECT_EQ(silent.state, SmsOutcome::State::Failed);
    EXPECT_EQ(silent.kind, FailureKind::Passing);
    EXPECT_THAT(JournalLines(dir.folder()), Contains("Ошибка: Модем GSM не ответил (AT)"));
    modem.setSilent(false);
    const std::size_t before = modem.commands().size();
    EXPECT_EQ(sendTo(modem).state, SmsOutcome::State::Accepted);
    ASSERT_GT(modem.commands().size(), before);
    EXPECT_EQ(modem.commands()[before], "ATZ");
    EXPECT_EQ(modem.messages().size(), 1u);
}

// What one run learnt of a modem is its own: another run with a memory of its own does not reset the
// modem, the run that saw it fall silent does.
TEST_F(SmsTest, EachRunRemembersItsOwnModems)
{
    GsmBehaviour b;
    b.silent = true;
    GsmModem modem(b);
    host.lines = {"Hi"};
    EXPECT_EQ(sendTo(modem).state, SmsOutcome::State::Failed);
    modem.setSilent(false);
    ModemMemory other;
    host.settings.GsmDevice = modem.slavePath();
    std::size_t before = modem.commands().size();
    EXPECT_EQ(
        SmsSending(host, other, *providers.Items(providers.IndexOfName("Sms")), params, host.lines).state,
        SmsOutcome::State::Accepted);
    ASSERT_GT(modem.commands().size(), before);
    EXPECT_EQ(modem.commands()[before], "AT");
    before = modem.commands().size();
    EXPECT_EQ(send(), SendOutcome::Completed); // the fixture's run, which saw the silence
    ASSERT_GT(modem.commands().size(), before);
    EXPECT_EQ(modem.commands()[before], "ATZ");
}

TEST_F(SmsTest, ANetworkThatPassesIsTriedAgainThroughTheOutboxAndTheMessageArrivesOnce)
{
    GsmModem modem(refusing({{1, 331}}));
    host.settings.GsmDevice = modem.slavePath();
    host.lines = {"Hi"};
    const std::vector<OutboxPage> pages = sendThroughOutbox(10);
    ASSERT_EQ(pages.size(), 1u);
    EXPECT_EQ(pages[0].state, PageState::Sent);
    EXPECT_EQ(pages[0].attempts, 2);
    EXPECT_EQ(modem.messages().size(), 1u);
}

TEST_F(SmsTest, PatternThatMakesNoNumberSendsNothing)
{
    GsmModem modem(GsmBehaviour{});
    chooseSubscriber("Ann", 123456789, "Sms"); // nine digits for seven "#"
    EXPECT_EQ(sendTo(modem).state, SmsOutcome::State::Failed);
    EXPECT_TRUE(modem.commands().empty());
    EXPECT_THAT(JournalLines(dir.folder()), Contains(HasSubstr("не даёт телефонного номера")));
}

TEST(SmsPdu, PublishedExamples)
{
    const Result<sms::Submission> privet = sms::Encode("+79123456789", u"Привет", 0);
    ASSERT_TRUE(privet);
    ASSERT_EQ(privet.value().parts.size(), 1u);
    EXPECT_EQ(privet.value().parts[0].hex, "0001000B919721436587F900080C041F04400438043204350442");
    EXPECT_EQ(privet.value().parts[0].tpduLength, 25);
    // "hellohello" in the default alphabet packs to E8 32 9B FD 46 97 D9 EC 37.
    const Result<sms::Submission> hello = sms::Encode("+1", u"hellohello", 0);
    ASSERT_TRUE(hello);
    EXPECT_EQ(hello.value().parts[0].hex.substr(hello.value().parts[0].hex.size() - 20),
              "0AE8329BFD4697D9EC37");
    // The modem of the tests reads what the encoder writes, header and fill bit included.
    const Result<sms::Submission> parts = sms::Encode("+1", std::u16string(200, u'e'), 7);
    ASSERT_TRUE(parts);
    ASSERT_EQ(parts.value().parts.size(), 2u);
    const GsmModem::Decoded second = GsmModem::Decode(parts.value().parts[1].hex);
    EXPECT_EQ(second.reference, 7);
    EXPECT_EQ(second.sequence, 2);
    EXPECT_EQ(second.text, std::string(47, 'e'));
}

TEST(SmsPdu, UnitsThatAreNoCharacterAreRefused)
{
    EXPECT_FALSE(sms::Gsm7Septets(u"\uFFFF")); // not the escape septet
    const std::u16string pair = u"\U0001F600";
    for (const std::u16string& text :
         {u"a\uFFFF" + std::u16string(), pair.substr(0, 1) + u"a", u"a" + pair.substr(1)}) {
        const Result<sms::Submission> page = sms::Encode("+1", text, 0);
        ASSERT_FALSE(page);
        EXPECT_THAT(page.failure().russian(), HasSubstr(cp("нельзя передать в SMS")));
    }
}

TEST(SmsPdu, NumberPatterns)
{
    EXPECT_EQ(SmsPhoneFromPattern("+7912#######", 42), "+79120000042");
    EXPECT_EQ(SmsPhoneFromPattern("+7912", 3456789), "+79123456789");
    for (const char* bad : {"7912#######", "+79-12###", "+", "+1234567890123456", "+123456789012345#"})
        EXPECT_FALSE(SmsPatternValid(bad)) << bad;
    EXPECT_FALSE(SmsPhoneFromPattern("+7912##", 123));
    EXPECT_FALSE(SmsPhoneFromPattern("+12345678901234", 56));
}

} // namespace
