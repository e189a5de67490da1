// SPDX-License-Identifier: GPL-3.0-or-later
// Pages through the outbox against scripted servers, the test clock driving the retries: what the server
// answers decides whether a page waits, goes or fails, each attempt journaled as a send is, the archive
// entry written once; without retries the journal is what a send without the outbox writes.
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
        Result<std::unique_ptr<Outbox>> opened = OpenFolderOutbox();
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
    addCompany("Paging", Gate::SNPP, server ? server->port() : ScriptedServer::closedPort());
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
        RetryCase{"NoServerUntilTheDeadline", {}, PageState::Failed, 4, 0}),
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

} // namespace
} // namespace zolbin::test
