// SPDX-License-Identifier: GPL-3.0-or-later
// Pages through the outbox against scripted servers, the test clock driving the retries: what the server
// answers decides whether a page waits, goes or fails, each attempt journaled as a send is, the archive
// entry written once; without retries the journal is what a send without the outbox writes. And what the
// workers do alike: the retry minutes' attempts, the pages due after the clock went back, the pruning.
#include "tests/unit/dispatch/SendCommandFixture.h"

#include <tuple>

namespace zolbin::test {
namespace {

int occurrences(const std::string& text, const std::string& part)
{
    int n = 0;
    for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1))
        ++n;
    return n;
}

class OutboxSendTest : public SendCommandTest
{
protected:
    std::unique_ptr<Outbox> openOutbox()
    {
        Result<std::unique_ptr<Outbox>> opened = OpenFolderOutbox(dir.folder());
        EXPECT_TRUE(opened);
        return opened ? std::move(opened.value()) : nullptr;
    }
};

struct RetryCase
{
    const char* name;
    std::vector<ScriptedSession> sessions; // none: nothing listens
    PageState state;
    int attempts;
    int archived;
    std::uint8_t gate = Gate::SNPP;
};

class RetryTable : public OutboxSendTest, public ::testing::WithParamInterface<RetryCase>
{
};

TEST_P(RetryTable, TheServersAnswerDecidesWhetherThePageWaitsGoesOrFails)
{
    const RetryCase& c = GetParam();
    std::unique_ptr<ScriptedServer> server;
    if (!c.sessions.empty())
        server = std::make_unique<ScriptedServer>(c.sessions);
    addCompany("Paging", c.gate, server ? server->port() : ScriptedServer::closedPort());
    chooseSubscriber("Ivanov", 42, "Paging");

    const OutboxPage page = sendThroughOutbox(10).front();

    EXPECT_EQ(page.state, c.state);
    EXPECT_EQ(page.attempts, c.attempts);
    const std::string journal = dir.read(host.journal.fileName());
    EXPECT_EQ(occurrences(journal, W("Ошибка: Сообщение отправлено не было")), c.attempts - c.archived);
    EXPECT_EQ(occurrences(journal, W("Сообщение успешно отправлено")), c.archived);
    EXPECT_EQ(dir.exists("Log/Ivanov.log") ? occurrences(dir.read("Log/Ivanov.log"), "Hello") : 0,
              c.archived);
}

ScriptedSession busy()
{
    return {{"421 Too busy, try later\r\n"}, {}};
}

// The server takes every step up to the one that hands the page over, then gives this reply.
ScriptedSession snppUntilSend(ScriptedReply last)
{
    return {{"220 SNPP\r\n"}, {Reply("250 OK\r\n"), Reply("250 OK\r\n"), std::move(last)}};
}

const ScriptedReply hangUp{{}, false, true, false};

INSTANTIATE_TEST_SUITE_P(
    Cases, RetryTable,
    ::testing::Values(
        RetryCase{"RefusedTwiceThenAccepted", {busy(), busy(), snppOk()}, PageState::Sent, 3, 1},
        RetryCase{"RefusedForGood",
                  {{{"220 SNPP\r\n"}, {Reply("550 Error, Invalid Pager ID\r\n"), Reply("221 OK\r\n")}}},
                  PageState::Failed,
                  1,
                  0},
        RetryCase{"TimedOutThenAccepted",
                  {{{"220 SNPP\r\n"}, {ScriptedReply{{}, true, false, false}}}, snppOk()},
                  PageState::Sent,
                  2,
                  1},
        // Tried at 0, 1, 3 and 7 minutes; the next (15) is past the ten minutes.
        RetryCase{"NoServerUntilTheDeadline", {}, PageState::Failed, 4, 0},
        // The answer to the step that hands the page over is lost: it may have gone, and never goes again
        // by itself.
        RetryCase{"SendUnanswered", {snppUntilSend({{}, true}), snppOk()}, PageState::Unknown, 1, 0},
        RetryCase{"HungUpAfterSend", {snppUntilSend(hangUp), snppOk()}, PageState::Unknown, 1, 0},
        RetryCase{"MailEndUnanswered",
                  {{{"220 relay\r\n"},
                    {Reply("250\r\n"), Reply("250\r\n"), Reply("250\r\n"), DataReply("354\r\n"), hangUp}},
                   relayOk()},
                  PageState::Unknown,
                  1,
                  0,
                  Gate::SMTP}),
    [](const auto& param) { return std::string(param.param.name); });

TEST_F(OutboxSendTest, AGroupMemberThatMustWaitIsNotAskedAboutAndTheOthersGoOn)
{
    ScriptedServer down({busy()});
    ScriptedServer up({snppOk()});
    addCompany("Down", Gate::SNPP, down.port());
    addCompany("Up", Gate::SNPP, up.port());
    addGroup({member("First", 1, "Down"), member("Second", 2, "Up")});

    std::unique_ptr<Outbox> outbox = openOutbox();
    SendOrder taken = order();
    ASSERT_TRUE(EnqueueOrder(taken, *outbox, PageHolder::Sender, 30, NowMs()));
    const std::vector<std::string> ids = taken.pageIds;
    SendJob(std::move(taken)).runWith(host);

    EXPECT_TRUE(prompts.requests().empty());
    EXPECT_EQ(outbox->Page(ids[0]).value()->state, PageState::Waiting);
    EXPECT_EQ(outbox->Page(ids[1]).value()->state, PageState::Sent);
    EXPECT_EQ(outbox->Page(ids[0]).value()->nextAttemptMs, NowMs() + 60 * 1000);
}

// The members a group never reached failed when a member without a company stopped it, with the reason;
// No to the question after a member that could not be reached withdraws them.
TEST_F(OutboxSendTest, MembersAGroupNeverReachedFailWhenItStoppedByItselfAndAreWithdrawnOnNo)
{
    ScriptedServer server({snppOk(), snppOk()});
    addCompany("Acme", Gate::SNPP, server.port());
    addCompany("Dead", Gate::SNPP, ScriptedServer::closedPort());
    struct Case
    {
        const char* company; // of the second member
        PageState rest;
        const char* reply;
    };
    for (const Case& c : {Case{"Gone", PageState::Failed,
                               "Рассылка остановлена: не найдена пейджинговая "
                               "компания абонента B"},
                          Case{"Dead", PageState::Cancelled, ""}}) {
        addGroup({member("A", 1, "Acme"), member("B", 2, c.company), member("C", 3, "Acme")});
        const std::vector<OutboxPage> pages = sendThroughOutbox(0); // the question answered No
        ASSERT_EQ(pages.size(), 3u);
        EXPECT_EQ(std::tie(pages[0].state, pages[1].state, pages[2].state, pages[2].lastReply),
                  std::make_tuple(PageState::Sent, PageState::Failed, c.rest, W(c.reply)))
            << c.company;
    }
}

TEST_F(OutboxSendTest, WithoutRetriesTheJournalIsWhatASendWithoutTheOutboxWrites)
{
    ScriptedServer server({snppOk(), busy(), snppOk(), busy()});
    addCompany("Paging", Gate::SNPP, server.port());
    chooseSubscriber("Ivanov", 42, "Paging");
    const std::string journalName = host.journal.fileName();

    SendJob(order()).runWith(host);
    SendJob(order()).runWith(host);
    const std::string plain = dir.read(journalName);
    dir.write(journalName, {});
    dir.write("Log/Ivanov.log", {});

    const std::vector<OutboxPage> sent = sendThroughOutbox(0);
    const std::vector<OutboxPage> failed = sendThroughOutbox(0);
    EXPECT_EQ(dir.read(journalName), plain);
    EXPECT_EQ(sent.front().state, PageState::Sent);
    EXPECT_EQ(failed.front().state, PageState::Failed);
}

// Each attempt takes 5 s: the k-th starts at its minute on the retry schedule plus 5 s for each attempt
// before it, while that minute is within the retry minutes. A worker's look after each failure (which
// brings waits back after a clock set back) leaves the waits as they are.
TEST_F(OutboxSendTest, RetryMinutesGiveTheAttemptsThatStartWithinThem)
{
    const std::pair<int, std::vector<std::int64_t>> cases[] = {
        {1, {0, 1}}, {2, {0, 1}}, {5, {0, 1, 3}}, {60, {0, 1, 3, 7, 15, 30, 45, 60}}};
    std::unique_ptr<Outbox> outbox = openOutbox();
    for (const auto& [minutes, scheduled] : cases) {
        SendOrder taken = order();
        const std::int64_t first = NowMs();
        ASSERT_TRUE(EnqueueOrder(taken, *outbox, PageHolder::Worker, minutes, first));
        std::vector<std::int64_t> starts;
        for (std::optional<std::int64_t> next = first; next && starts.size() < 10;) {
            clock.setNow(QDateTime::fromMSecsSinceEpoch(*next));
            starts.push_back(*next - first - static_cast<std::int64_t>(starts.size()) * 5000);
            SendOrder attempt = OrderOfPage(*outbox->Page(taken.pageIds[0]).value(), providers, dir.folder());
            ASSERT_TRUE(attempt.ledger->Starting(0).value());
            clock.setNow(clock.now().addSecs(5));
            ASSERT_TRUE(attempt.ledger->Failed(0, FailureKind::Passing, "421 busy"));
            ASSERT_TRUE(DuePages(*outbox, NowMs()).value().empty());
            next = outbox->NextDue().value();
        }
        std::vector<std::int64_t> expected;
        for (const std::int64_t minute : scheduled)
            expected.push_back(minute * 60 * 1000);
        EXPECT_EQ(starts, expected) << minutes << " retry minutes";
    }
}

TEST_F(OutboxSendTest, WithRetriesTheJournalSaysWhenThePageIsTriedAgainAndWhenNoAttemptIsLeft)
{
    ScriptedServer refusing(
        {{{"220 SNPP\r\n"}, {Reply("550 Error, Invalid Pager ID\r\n"), Reply("221 OK\r\n")}}});
    addCompany("Down", Gate::SNPP, ScriptedServer::closedPort());
    addCompany("Refusing", Gate::SNPP, refusing.port());
    chooseSubscriber("Ivanov", 42, "Down");
    sendThroughOutbox(2); // tried at 09:30 and 09:31
    chooseSubscriber("Petrov", 43, "Refusing");
    sendThroughOutbox(2); // a refusal for good is not tried again and needs no word about it

    std::vector<std::string> afterFailure;
    const std::vector<std::string> lines = JournalLines(dir.folder());
    for (std::size_t i = 0; i + 1 < lines.size(); ++i)
        if (lines[i] == "Ошибка: Сообщение отправлено не было")
            afterFailure.push_back(lines[i + 1]);
    EXPECT_EQ(afterFailure,
              (std::vector<std::string>{"Повторная попытка 2, следующая в 09:31", "Попытки исчерпаны", ""}));
}

// What both workers do alike: pruning keeps a day at least (KeepDays=0) and never a page of unknown
// outcome; a waiting page is due within its wait however far the clock went back.
TEST_F(OutboxSendTest, WorkersKeepUnknownPagesAndFindWaitingOnesAfterTheClockWentBack)
{
    std::unique_ptr<Outbox> outbox = openOutbox();
    std::vector<OutboxPage> pages(4);
    ASSERT_TRUE(outbox->Add(pages));
    const std::int64_t hour = 60 * 60 * 1000;
    const std::pair<PageState, std::int64_t> ended[] = {
        {PageState::Unknown, 40 * 24 * hour}, {PageState::Sent, 48 * hour}, {PageState::Sent, hour}};
    for (std::size_t i = 0; i < pages.size(); ++i)
        ASSERT_TRUE(outbox->Claim(pages[i].id).value());
    for (std::size_t i = 0; i < 3; ++i)
        ASSERT_TRUE(outbox->Finish(pages[i].id, ended[i].first, {}, NowMs() - ended[i].second));
    ASSERT_TRUE(outbox->Reschedule(pages[3].id, NowMs() + hour / 60, "421"));

    ASSERT_TRUE(PruneOutbox(*outbox, 0, NowMs()));
    EXPECT_TRUE(outbox->Page(pages[0].id).value());
    EXPECT_FALSE(outbox->Page(pages[1].id).value());
    EXPECT_TRUE(outbox->Page(pages[2].id).value());
    clock.setNow(clock.now().addDays(-1));
    EXPECT_TRUE(DuePages(*outbox, NowMs()).value().empty());
    clock.setNow(clock.now().addSecs(60));
    EXPECT_EQ(DuePages(*outbox, NowMs()).value().size(), 1u);
}

} // namespace
} // namespace zolbin::test
