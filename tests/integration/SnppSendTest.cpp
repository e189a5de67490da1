// SPDX-License-Identifier: GPL-3.0-or-later
// Whole sends to Net::SNPP::Server: what the server received line by line, the journal and the archive.

#include "tests/integration/PeerSendTest.h"

using namespace zolbin;
using namespace zolbin::test;
using ::testing::ElementsAre;
using ::testing::ElementsAreArray;

namespace {

class SnppSendTest : public PeerSendTest
{
protected:
    void SetUp() override
    {
        PeerSendTest::SetUp();
        RequirePeer(snpp);
    }

    SnppPeer snpp;
};

} // namespace

TEST_F(SnppSendTest, PageToACompanyArrivesInKoi8rWithTheSignatureAndIsJournaledAndArchived)
{
    addCompany("Beeper", Gate::SNPP, snpp.port());
    choose(subscriber(W("Иванов"), 1234567, "Beeper"));
    host.settings.ShortName = W("Оператор");
    host.lines = {W("Привет"), W("мир.")};

    EXPECT_EQ(send(), SendOutcome::Completed);

    // No password and not the home provider: no LOGI; the lines joined, the signature after the point.
    EXPECT_THAT(snpp.receivedLines(),
                ElementsAre("PAGE 1234567\r\n", "MESS " + Koi8("Привет мир. Оператор ") + "\r\n", "SEND\r\n",
                            "QUIT\r\n"));
    EXPECT_EQ(snpp.sessions(), 1);
    EXPECT_THAT(JournalLines(dir.folder()),
                ElementsAre("Инициализация...", "Соединение с сервером...", "Попытка 1...",
                            "220 SNPP Gateway Ready", "Посылка: PAGE 1234567", "Ответ: 250 Pager ID Accepted",
                            "Посылка: MESS ***", "Ответ: 250 Message OK", "Посылка: SEND",
                            "Ответ: 250 Message Sent Successfully", "Посылка: QUIT", "Ответ: 221 OK, Goodbye",
                            "Сообщение успешно отправлено", ""));
    // The archive keeps the text as typed: cp1251, no signature.
    EXPECT_EQ(archiveOf("Иванов"), W("Beeper, 07.12.2026 09:30\r\nПривет\r\nмир.\r\n\r\n"));
    EXPECT_TRUE(prompts.requests().empty());
    EXPECT_EQ(host.completed, 1);
}

TEST_F(SnppSendTest, HomeProviderLogsInWithTheProgramNameAndHoldsADeferredPage)
{
    TProvider& home = addCompany(HomeProviderName(), Gate::SNPP, snpp.port(), "WIN-1251");
    home.SnppPswd = "ignored";
    choose(subscriber(W("Петров"), 7654321, HomeProviderName()));
    params.DeferDate = "31.12.2026";
    params.DeferTime = "23:59";
    host.lines = {W("Тест")};

    EXPECT_EQ(send(), SendOutcome::Completed);

    EXPECT_THAT(snpp.receivedLines(),
                ElementsAre("LOGI Zolbin Sender 2.0.1\r\n", "HOLD 261231235900\r\n", "PAGE 7654321\r\n",
                            "MESS " + W("Тест ") + "\r\n", "SEND\r\n", "QUIT\r\n"));
    EXPECT_THAT(JournalLines(dir.folder()),
                ElementsAre("Инициализация...", "Соединение с сервером...", "Попытка 1...",
                            "220 SNPP Gateway Ready", "Посылка: LOGI Zolbin Sender 2.0.1",
                            "Ответ: 250 Login Accepted", "Посылка: HOLD 261231235900",
                            "Ответ: 250 Delayed Messaging Selected", "Посылка: PAGE 7654321",
                            "Ответ: 250 Pager ID Accepted", "Посылка: MESS ***", "Ответ: 250 Message OK",
                            "Посылка: SEND", "Ответ: 250 Message Sent Successfully", "Посылка: QUIT",
                            "Ответ: 221 OK, Goodbye", "Сообщение успешно отправлено", ""));
    EXPECT_EQ(archiveOf("Петров"),
              HomeProviderName() + W(", 07.12.2026 09:30\r\nOтложено - 31.12.2026 23:59 \r\nТест\r\n\r\n"));
    EXPECT_TRUE(params.DeferDate.empty()); // the service settings are spent
}

TEST_F(SnppSendTest, RepeatsAreThreeConnectionsHeldOneIntervalApart)
{
    TProvider& beeper = addCompany("Beeper", Gate::SNPP, snpp.port());
    beeper.SnppPswd = "s3cret";
    choose(subscriber("Ann", -42, "Beeper"));
    params.RepeatCount = 2;
    params.RepeatInterval = "00:15";
    host.lines = {"Hi"};

    EXPECT_EQ(send(), SendOutcome::Completed);

    // The first sending goes at once; the others are held for now + 15 and now + 30 minutes.
    const std::vector<std::string> expected = {
        "LOGI s3cret\r\n",       "PAGE -42\r\n", "MESS Hi \r\n", "SEND\r\n", "QUIT\r\n", "LOGI s3cret\r\n",
        "HOLD 261207094500\r\n", "PAGE -42\r\n", "MESS Hi \r\n", "SEND\r\n", "QUIT\r\n", "LOGI s3cret\r\n",
        "HOLD 261207100000\r\n", "PAGE -42\r\n", "MESS Hi \r\n", "SEND\r\n", "QUIT\r\n"};
    EXPECT_THAT(snpp.receivedLines(), ElementsAreArray(expected));
    EXPECT_EQ(snpp.sessions(), 3);
    const auto journal = JournalLines(dir.folder());
    EXPECT_EQ(std::count(journal.begin(), journal.end(), "Попытка 1..."), 3);
    EXPECT_EQ(std::count(journal.begin(), journal.end(), "Сообщение успешно отправлено"), 3);
    // One archive entry for the command, showing the repeats as chosen.
    EXPECT_EQ(archiveOf("Ann"), W("Beeper, 07.12.2026 09:30\r\nПовторы - 2 * 00:15\r\nHi\r\n\r\n"));
}
