// SPDX-License-Identifier: GPL-3.0-or-later
#include "tests/unit/dispatch/SendCommandFixture.h"

using namespace zolbin;
using namespace zolbin::test;
using ::testing::ElementsAre;

TEST_F(SendCommandTest, RefusesWithoutRecipientOrText)
{
    EXPECT_EQ(send(), SendOutcome::Refused);
    chooseSubscriber("Ann", 5, "Acme");
    host.lines.clear();
    EXPECT_EQ(send(), SendOutcome::Refused);
    EXPECT_THAT(prompts.texts(), ElementsAre("Необходимо выбрать абонента или группу абонентов",
                                             "Необходимо набрать текст сообщения"));
    EXPECT_TRUE(JournalLines(dir.folder()).empty());
}

TEST_F(SendCommandTest, OneSnppSubscriberIsSentJournaledAndArchived)
{
    ScriptedServer server({snppOk()});
    addCompany("Acme", Gate::SNPP, server.port());
    chooseSubscriber("Ann", 5, "Acme");
    EXPECT_EQ(send(), SendOutcome::Completed);
    const auto lines = JournalLines(dir.folder());
    ASSERT_GE(lines.size(), 4u);
    EXPECT_EQ(lines.front(), "Инициализация...");
    EXPECT_EQ(lines[lines.size() - 2], "Сообщение успешно отправлено");
    EXPECT_EQ(lines.back(), "");
    EXPECT_EQ(dir.read("Log/Ann.log"), "Acme, 07.12.2026 09:30\r\nHello\r\n\r\n");
    EXPECT_EQ(host.completed, 1);
    EXPECT_EQ(host.pauses.back(), 2000u);
    EXPECT_EQ(host.statuses.back(), "");
    EXPECT_TRUE(params.SendDate.empty());
}

TEST_F(SendCommandTest, SnppRepeatsWithoutDeferralGoAtOnceThenHeld)
{
    ScriptedServer server({snppOk(), snppOk(5), snppOk(5)});
    addCompany("Acme", Gate::SNPP, server.port());
    chooseSubscriber("Ann", 5, "Acme");
    params.RepeatCount = 2;
    params.RepeatInterval = "00:15";
    EXPECT_EQ(send(), SendOutcome::Completed);
    const auto received = server.received();
    ASSERT_EQ(received.size(), 3u);
    EXPECT_EQ(received[0].rfind("PAGE 5\r\n", 0), 0u);
    EXPECT_EQ(received[1].rfind("HOLD 261207094500\r\n", 0), 0u);
    EXPECT_EQ(received[2].rfind("HOLD 261207100000\r\n", 0), 0u);
    const auto lines = JournalLines(dir.folder());
    EXPECT_EQ(std::count(lines.begin(), lines.end(), "Сообщение успешно отправлено"), 3);
    // One archive entry, showing the repeats as chosen.
    EXPECT_EQ(dir.read("Log/Ann.log"),
              "Acme, 07.12.2026 09:30\r\n" + W("Повторы - 2 * 00:15") + "\r\nHello\r\n\r\n");
}

TEST_F(SendCommandTest, DeferredSnppPageIsHeldAndTheDeferralKeptInTheArchive)
{
    ScriptedServer server({snppOk(5)});
    addCompany("Acme", Gate::SNPP, server.port());
    chooseSubscriber("Ann", 5, "Acme");
    params.DeferDate = "31.12.2026";
    params.DeferTime = "23:59";
    EXPECT_EQ(send(), SendOutcome::Completed);
    EXPECT_EQ(server.received()[0].rfind("HOLD 261231235900\r\n", 0), 0u);
    EXPECT_EQ(dir.read("Log/Ann.log"),
              "Acme, 07.12.2026 09:30\r\n" + W("Oтложено - 31.12.2026 23:59 ") + "\r\nHello\r\n\r\n");
}

TEST_F(SendCommandTest, SmtpSubscriberGetsOneConnectionWhateverTheRepeats)
{
    ScriptedServer server({relayOk(), relayOk()});
    addCompany("Mail", Gate::SMTP, server.port());
    chooseSubscriber("Bob", 42, "Mail");
    params.RepeatCount = 2;
    params.RepeatInterval = "01:00";
    EXPECT_EQ(send(), SendOutcome::Completed);
    EXPECT_EQ(server.accepted(), 1);
    EXPECT_NE(server.received()[0].find("Subject: 2*60\r\n"), std::string::npos);
}

TEST_F(SendCommandTest, GroupStopsAtAMemberWithoutCompany)
{
    ScriptedServer server({snppOk(), snppOk(5)});
    addCompany("Acme", Gate::SNPP, server.port());
    addGroup({member("A", 1, "Acme"), member("B", 2, "Gone"), member("C", 3, "Acme")});
    params.RepeatCount = 1;
    params.RepeatInterval = "00:10";
    EXPECT_EQ(send(), SendOutcome::Stopped);
    EXPECT_EQ(server.accepted(), 2); // A's two sendings; C never served
    EXPECT_THAT(prompts.texts(), ElementsAre("А указана ли для этого абонента пейджинговая компания?"));
    EXPECT_EQ(params.RepeatCount, 1); // the service settings stay for the next try
    EXPECT_EQ(host.completed, 0);
}

TEST_F(SendCommandTest, UnreachableMemberAnsweredYesGoesOnToTheNext)
{
    ScriptedServer server({snppOk()});
    addCompany("Acme", Gate::SNPP, server.port());
    addCompany("Dead", Gate::SNPP, ScriptedServer::closedPort());
    addGroup({member("A", 1, "Dead"), member("C", 3, "Acme")});
    prompts.answer(true);
    EXPECT_EQ(send(), SendOutcome::Completed);
    ASSERT_EQ(prompts.requests().size(), 1u);
    EXPECT_EQ(prompts.requests()[0].caption.toStdString(), "Предупреждение");
    EXPECT_EQ(prompts.requests()[0].text.toStdString(),
              "Для абонента A сообщение отправить не удалось. Продолжать для остальных?");
    const auto lines = JournalLines(dir.folder());
    EXPECT_NE(std::find(lines.begin(), lines.end(), "Отправка сообщения для абонента C"), lines.end());
    EXPECT_NE(std::find(lines.begin(), lines.end(),
                        "Для абонента A сообщение отправить не удалось. Продолжать для остальных?"),
              lines.end());
    EXPECT_TRUE(dir.exists("Log/C.log"));
    EXPECT_EQ(host.completed, 1);
}

TEST_F(SendCommandTest, UnreachableMemberAnsweredNoStops)
{
    addCompany("Dead", Gate::SNPP, ScriptedServer::closedPort());
    addGroup({member("A", 1, "Dead"), member("C", 3, "Dead")});
    prompts.answer(false);
    EXPECT_EQ(send(), SendOutcome::Stopped);
    EXPECT_EQ(prompts.requests().size(), 1u);
}

TEST_F(SendCommandTest, DigitalPagerRefusesLettersAndLineBreaks)
{
    addCompany("Acme", Gate::SNPP, ScriptedServer::closedPort());
    chooseSubscriber("Dig", 9, "Acme");
    params.CurDigital = 1;
    host.lines = {"12", "34"};
    EXPECT_EQ(send(), SendOutcome::Stopped);
    EXPECT_THAT(prompts.texts(),
                ElementsAre("Для цифровых пейджеров допустимы следующие символы: \r\n0..9, ,[,],-,u,U"));
    const auto lines = JournalLines(dir.folder());
    EXPECT_EQ(lines[lines.size() - 2], "Ошибка: Сообщение отправлено не было");
}

TEST_F(SendCommandTest, BadServiceDateStopsBeforeConnectingAndKeepsTheDeferral)
{
    ScriptedServer server({snppOk()});
    addCompany("Acme", Gate::SNPP, server.port());
    chooseSubscriber("Ann", 5, "Acme");
    params.DeferDate = "07.00.2026";
    params.DeferTime = "10:00";
    EXPECT_EQ(send(), SendOutcome::Stopped);
    EXPECT_THAT(prompts.texts(), ElementsAre("'07.00.2026' неверные дата/время"));
    EXPECT_EQ(params.DeferDate, "07.00.2026");
    EXPECT_EQ(server.accepted(), 0);
    const auto lines = JournalLines(dir.folder());
    EXPECT_EQ(std::find(lines.begin(), lines.end(), "Соединение с сервером..."), lines.end());
}

TEST_F(SendCommandTest, TapCompanyFailsTheSubscriber)
{
    addCompany("Tap", Gate::TAP, 1);
    const std::string phone = "127.0.0.1:" + std::to_string(ScriptedServer::closedPort());
    providers.Items(providers.IndexOfName("Tap"))->TapPhone = phone;
    chooseSubscriber("T", 5, "Tap");
    EXPECT_EQ(send(), SendOutcome::Stopped);
    const auto lines = JournalLines(dir.folder());
    // The TAP path: the company's terminal is tried on its own line, and its refusal fails the subscriber.
    EXPECT_NE(std::find(lines.begin(), lines.end(), "Соединение с терминалом TAP " + phone + "..."),
              lines.end());
}
