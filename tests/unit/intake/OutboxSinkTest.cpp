// SPDX-License-Identifier: GPL-3.0-or-later
// The sink of pages taken in, on the data folder's outbox: the pages it writes (a number through its
// company, a hold kept through a recovery, a request given again by its key), the journal's line, and a
// page refused whole when one of its recipients cannot be paged.
#include "intake/OutboxSink.h"

#include "dispatch/OutboxLedger.h"
#include "platform/Codepage.h"
#include "records/Session.h"
#include "records/SqlOutbox.h"
#include "tests/support/Companies.h"
#include "tests/support/TempDir.h"

#include <QTimeZone>
#include <gmock/gmock.h>
#include <gtest/gtest.h>

using namespace zolbin;
using namespace zolbin::test;
using ::testing::ElementsAre;
using ::testing::HasSubstr;

namespace {

class OutboxSinkTest : public ::testing::Test
{
protected:
    OutboxSinkTest()
    {
        session.providers.Add(std::make_shared<TProvider>(LoopbackCompany("Beeper", Gate::SNPP, 4444)));
        session.abonents.Add(SubscriberOf("Beeper", cp("Иванов"), 1001));
        session.abonents.Add(SubscriberOf("Nowhere", cp("Петров"), 1002));
        auto shift = std::make_shared<TGroup>();
        shift->Name = cp("Дежурная смена");
        shift->Members.Add(session.abonents.Items(0));
        shift->Members.Add(SubscriberOf("Beeper", cp("Сидоров"), 1003));
        session.groups.Add(shift);
    }

    IncomingPage page(std::vector<PagerTarget> recipients) const
    {
        IncomingPage p;
        p.recipients = std::move(recipients);
        p.text = cp("Насос 3 остановлен");
        p.via = "HTTP";
        p.from = "10.0.0.5";
        p.login = "alertmanager";
        return p;
    }
    std::vector<OutboxPage> pages()
    {
        return SqlOutbox::Open(dir.file(OutboxFileName)).value()->Recent(0).value();
    }

    TempDataDir dir;
    Session session{dir.folder()};
    OutboxSink sink{session, 10};
};

const PagerTarget Ivanov{PagerTarget::Kind::Subscriber, cp("Иванов"), 240, false, {}};
const PagerTarget Shift{PagerTarget::Kind::Group, cp("Дежурная смена"), 240, false, {}};

} // namespace

TEST_F(OutboxSinkTest, PagesOfEveryRecipientAreQueuedAndJournaledOnce)
{
    const SinkAnswer answer =
        sink.store(page({Shift, Ivanov, {PagerTarget::Kind::Number, "555", 240, false, "beeper"}}));
    ASSERT_EQ(answer.kind, SinkAnswer::Kind::Stored) << answer.reason;
    EXPECT_EQ(answer.pageIds.size(), 4u);
    std::vector<std::string> served;
    for (const OutboxPage& p : pages()) {
        served.push_back(p.params.CurName + "/" + std::to_string(p.params.CurNumber) + "/" +
                         p.params.CurProvider);
        EXPECT_EQ(p.gate, Gate::SNPP);
        EXPECT_EQ(p.text, cp("Насос 3 остановлен"));
    }
    std::sort(served.begin(), served.end());
    EXPECT_THAT(served, ElementsAre("/555/Beeper", cp("Иванов") + "/1001/Beeper",
                                    cp("Иванов") + "/1001/Beeper", cp("Сидоров") + "/1003/Beeper"));
    EXPECT_EQ(dir.read(JournalFileName),
              cp("Принято по HTTP от 10.0.0.5 (alertmanager): группа «Дежурная смена», "
                 "абонент «Иванов», номер 555 через «beeper»\r\n"));
}

TEST_F(OutboxSinkTest, AKeyGivenAgainWithinADayQueuesNothingNew)
{
    IncomingPage keyed = page({Ivanov});
    keyed.key = "alert-17";
    const SinkAnswer first = sink.store(keyed);
    const SinkAnswer again = sink.store(keyed);
    ASSERT_EQ(again.kind, SinkAnswer::Kind::Stored);
    EXPECT_EQ(again.pageIds, first.pageIds);
    EXPECT_EQ(pages().size(), 1u);
    ASSERT_EQ(sink.store(page({Ivanov})).kind, SinkAnswer::Kind::Stored); // no key: a page of its own
    EXPECT_EQ(pages().size(), 2u);
}

TEST_F(OutboxSinkTest, AHeldPageWaitsThroughARecovery)
{
    IncomingPage held = page({Ivanov});
    const std::int64_t until = NowMs() + 3600 * 1000;
    held.holdUntil = QDateTime::fromMSecsSinceEpoch(until, QTimeZone::utc());
    ASSERT_EQ(sink.store(held).kind, SinkAnswer::Kind::Stored);
    auto outbox = SqlOutbox::Open(dir.file(OutboxFileName));
    ASSERT_TRUE(outbox.value()->MarkInterrupted(NowMs()));
    EXPECT_EQ(outbox.value()->Due(NowMs()).value().size(), 0u);
    EXPECT_EQ(pages().at(0).nextAttemptMs, until);
}

TEST_F(OutboxSinkTest, APageWithOneRecipientThatCannotBePagedIsRefusedWhole)
{
    const PagerTarget petrov{PagerTarget::Kind::Subscriber, cp("Петров"), 240, false, {}};
    const SinkAnswer answer = sink.store(page({Ivanov, petrov}));
    EXPECT_EQ(answer.kind, SinkAnswer::Kind::Refused);
    EXPECT_THAT(answer.reason, HasSubstr(cp("пейдж. компания «Nowhere» не найдена в справочнике")));
    EXPECT_TRUE(pages().empty());
    EXPECT_THAT(dir.read(JournalFileName), HasSubstr(cp("Отклонено по HTTP от 10.0.0.5 (alertmanager): ")));
}

TEST_F(OutboxSinkTest, PagesTakenInTogetherKeepTheirKeysAndLimitsAndAreAnsweredInOrder)
{
    OutboxSink limited{session, 2};
    IncomingPage keyed = page({Ivanov});
    keyed.key = "alert-18";
    const PagerTarget petrov{PagerTarget::Kind::Subscriber, cp("Петров"), 240, false, {}};
    const std::vector<SinkAnswer> answers =
        limited.storeAll({keyed, page({petrov}), keyed, page({Ivanov}), page({Ivanov})});
    std::vector<SinkAnswer::Kind> kinds;
    for (const SinkAnswer& answer : answers)
        kinds.push_back(answer.kind);
    using K = SinkAnswer::Kind;
    EXPECT_THAT(kinds, ElementsAre(K::Stored, K::Refused, K::Stored, K::Stored, K::Refused));
    EXPECT_TRUE(answers[4].limited);
    EXPECT_EQ(answers[2].pageIds, answers[0].pageIds);
    std::vector<std::string> stored;
    for (const OutboxPage& p : pages())
        stored.push_back(p.id);
    std::sort(stored.begin(), stored.end());
    std::vector<std::string> answered = {answers[0].pageIds.at(0), answers[3].pageIds.at(0)};
    std::sort(answered.begin(), answered.end());
    EXPECT_EQ(stored, answered);
}
