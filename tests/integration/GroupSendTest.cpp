// SPDX-License-Identifier: GPL-3.0-or-later
// A group whose members are served by both real peers, with one member whose server cannot be reached.

#include "tests/integration/PeerSendTest.h"
#include "tests/support/ScriptedServer.h"

using namespace zolbin;
using namespace zolbin::test;
using ::testing::ElementsAre;

namespace {

class GroupSendTest : public PeerSendTest
{
protected:
    void SetUp() override
    {
        PeerSendTest::SetUp();
        RequirePeer(snpp);
        if (!IsSkipped() && !HasFatalFailure())
            RequirePeer(relay);
    }

    SnppPeer snpp;
    SmtpPeer relay;
};

} // namespace

TEST_F(GroupSendTest, UnreachableMemberAnsweredYesIsSkippedAndTheOthersAreServed)
{
    addCompany("Beeper", Gate::SNPP, snpp.port());
    addCompany("Dead", Gate::SNPP, ScriptedServer::closedPort());
    addCompany("Mail", Gate::SMTP, relay.port());
    chooseGroup({subscriber(W("Аня"), 1111111, "Beeper"), subscriber(W("Боря"), 2222222, "Dead"),
                 subscriber(W("Вера"), 3333333, "Mail")});
    host.lines = {"Hello"};
    prompts.answer(true);

    EXPECT_EQ(send(), SendOutcome::Completed);

    ASSERT_EQ(prompts.requests().size(), 1u);
    const PromptRequest& prompt = prompts.requests()[0];
    EXPECT_EQ(prompt.kind, PromptKind::YesNo);
    EXPECT_EQ(prompt.icon, PromptIcon::Stop);
    EXPECT_EQ(prompt.caption.toStdString(), "Предупреждение");
    EXPECT_EQ(prompt.text.toStdString(),
              "Для абонента Боря сообщение отправить не удалось. Продолжать для остальных?");

    EXPECT_THAT(snpp.receivedLines(),
                ElementsAre("PAGE 1111111\r\n", "MESS Hello \r\n", "SEND\r\n", "QUIT\r\n"));
    const auto mails = relay.mails();
    ASSERT_EQ(mails.size(), 1u);
    EXPECT_THAT(mails[0].to, ElementsAre("3333333@gw.example"));

    // The unreachable member's block: three refused attempts (no empty line after them), then the
    // question and an empty line in place of a status text; the next member follows.
    const auto journal = JournalLines(dir.folder());
    const auto start = std::find(journal.begin(), journal.end(), "Отправка сообщения для абонента Боря");
    ASSERT_NE(start, journal.end());
    ASSERT_GE(journal.end() - start, 13);
    EXPECT_THAT(
        std::vector<std::string>(start, start + 13),
        ElementsAre("Отправка сообщения для абонента Боря", "Соединение с сервером...", "Попытка 1...",
                    "Ошибка: Соединение невозможно.", "Попытка 2...", "Ошибка: Соединение невозможно.",
                    "Попытка 3...", "Ошибка: Соединение невозможно.",
                    "Для абонента Боря сообщение отправить не удалось. Продолжать для остальных?", "",
                    "Отправка сообщения для абонента Вера", "Соединение с сервером...", "Попытка 1..."));
    EXPECT_EQ(std::count(journal.begin(), journal.end(), "Сообщение успешно отправлено"), 2);

    EXPECT_EQ(archiveOf("Аня"), "Beeper, 07.12.2026 09:30\r\nHello\r\n\r\n");
    EXPECT_FALSE(dir.exists("Log/Боря.log"));
    EXPECT_EQ(archiveOf("Вера"), "Mail, 07.12.2026 09:30\r\nHello\r\n\r\n");
    EXPECT_EQ(host.completed, 1); // the success clean-up ran
}
