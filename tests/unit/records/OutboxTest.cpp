// SPDX-License-Identifier: GPL-3.0-or-later
// The outbox in its SQLite file: a page's way through its states, what a cut-off attempt leaves, and the
// files it cannot use.
#include "platform/Codepage.h"
#include "records/SqlOutbox.h"
#include "tests/support/TempDir.h"
#include "tests/unit/platform/FileSizeLimit.h"

#include <gtest/gtest.h>

namespace zolbin {
namespace {

OutboxPage page(const std::string& name, std::int64_t createdMs)
{
    OutboxPage p;
    p.batch = "b1";
    p.createdMs = createdMs;
    p.params.CurName = cp(name);
    p.params.CurNumber = 1234;
    p.params.CurProvider = cp("Мобильная связь");
    p.params.SendDate = "08.12.2026";
    p.params.SendTime = "10:15";
    p.lines = {cp("Срочно приезжайте"), "", "line 3"};
    return p;
}

class OutboxTest : public ::testing::Test
{
protected:
    std::unique_ptr<SqlOutbox> open()
    {
        Result<std::unique_ptr<SqlOutbox>> opened = SqlOutbox::Open(path);
        EXPECT_TRUE(opened) << (opened ? "" : utf8(opened.failure().text));
        return opened ? std::move(opened).value() : nullptr;
    }
    PageState stateOf(Outbox& box, const std::string& id) { return box.Page(id).value()->state; }

    test::TempDataDir dir;
    std::string path = dir.path() + "/" + OutboxFileName;
};

TEST_F(OutboxTest, PageGoesThroughItsStatesAndKeepsWhatTheArchiveNeeds)
{
    auto box = open();
    ASSERT_TRUE(box);
    std::vector<OutboxPage> pages = {page("Петров", 100), page("Сидоров", 200)};
    ASSERT_TRUE(box->Add(pages));
    ASSERT_NE(pages[0].id, pages[1].id);

    const auto due = box->Due(1000).value();
    ASSERT_EQ(due.size(), 2u);
    EXPECT_EQ(due[0].params.CurName, cp("Петров"));
    EXPECT_EQ(due[0].params.CurProvider, cp("Мобильная связь"));
    EXPECT_EQ(due[0].params.SendTime, "10:15");
    EXPECT_EQ(due[0].lines, pages[0].lines);

    const std::string& id = pages[0].id;
    EXPECT_TRUE(box->Claim(id).value());
    EXPECT_FALSE(box->Claim(id).value()); // one worker at a time takes it
    EXPECT_FALSE(box->Cancel(id, 1000).value());
    ASSERT_TRUE(box->Reschedule(id, 5000, cp("421 попробуйте позже")));
    ASSERT_EQ(box->Due(4999).value().size(), 1u);
    EXPECT_EQ(box->Due(4999).value()[0].id, pages[1].id);
    EXPECT_EQ(box->Due(5000).value().size(), 2u);
    EXPECT_TRUE(box->Claim(id).value());
    ASSERT_TRUE(box->Finish(id, PageState::Sent, "250 OK", 6000));
    const OutboxPage sent = *box->Page(id).value();
    EXPECT_EQ(sent.state, PageState::Sent);
    EXPECT_EQ(sent.attempts, 2);
    EXPECT_EQ(sent.finishedMs, 6000);

    EXPECT_TRUE(box->Cancel(pages[1].id, 7000).value());
    EXPECT_EQ(box->Unfinished().value(), 0);
    EXPECT_EQ(box->Recent(6500).value().size(), 1u); // the cancelled one; the sent one is older
    ASSERT_TRUE(box->Prune(6500));
    EXPECT_FALSE(box->Page(id).value());
    EXPECT_TRUE(box->Page(pages[1].id).value());
}

TEST_F(OutboxTest, AttemptCutOffIsOutcomeUnknownAndResentOnlyWhenAsked)
{
    std::vector<OutboxPage> pages = {page("Петров", 100)};
    {
        auto first = open();
        ASSERT_TRUE(first && first->Add(pages));
        ASSERT_TRUE(first->Claim(pages[0].id).value());
    } // the program ends during the attempt
    auto next = open();
    ASSERT_TRUE(next);
    EXPECT_EQ(next->MarkInterrupted(9000).value(), 1);
    EXPECT_EQ(stateOf(*next, pages[0].id), PageState::Unknown);
    EXPECT_TRUE(next->Due(10000).value().empty());
    EXPECT_TRUE(next->Retry(pages[0].id, 10000).value());
    EXPECT_EQ(stateOf(*next, pages[0].id), PageState::Queued);
    EXPECT_EQ(next->Due(10000).value().size(), 1u);
}

// Pages created at the same moment are ordered by their ids, so that no slice repeats or skips one.
TEST_F(OutboxTest, SlicesOfRecentJoinToRecent)
{
    auto box = open();
    ASSERT_TRUE(box);
    std::vector<OutboxPage> pages;
    for (int i = 0; i < 8; ++i)
        pages.push_back(page("Петров", 100 + i % 3));
    ASSERT_TRUE(box->Add(pages));
    ASSERT_TRUE(box->Claim(pages[0].id).value());
    ASSERT_TRUE(box->Finish(pages[0].id, PageState::Sent, "250 OK", 500)); // before "since": not shown
    ASSERT_TRUE(box->Cancel(pages[1].id, 2000).value());

    const auto ids = [](const Result<std::vector<OutboxPage>>& read, std::vector<std::string>& into) {
        for (const OutboxPage& p : read.value())
            into.push_back(p.id);
    };
    std::vector<std::string> recent;
    ids(box->Recent(1000), recent);
    std::vector<std::string> joined;
    for (int offset = 0; offset < 9; offset += 3)
        ids(box->RecentSlice(1000, {}, offset, 3), joined);
    EXPECT_EQ(recent.size(), 7u);
    EXPECT_EQ(joined, recent);
    EXPECT_EQ(box->CountRecent(1000, RecentFilter::All).value(), 7);
}

// A window's filter and order, read two pages at a time: equal keys keep the order of the ids, reversed
// with the column's.
TEST_F(OutboxTest, RecentPagesOfAFilterInTheOrderOfAColumn)
{
    auto box = open();
    ASSERT_TRUE(box);
    struct Made
    {
        const char* id;
        const char* name;
        const char* text;
        std::int64_t createdMs;
    };
    const Made made[] = {{"p1", "Сидоров", "б", 100},  {"p2", "Петров", "в", 101}, {"p3", "", "а", 101},
                         {"p4", "Алексеев", "г", 102}, {"p5", "Петров", "а", 99},  {"p6", "Петров", "д", 98},
                         {"p7", "Старов", "е", 50}};
    std::vector<OutboxPage> pages;
    for (const Made& m : made) {
        pages.push_back(page(m.name, m.createdMs));
        pages.back().id = m.id;
        pages.back().text = cp(m.text);
    }
    ASSERT_TRUE(box->Add(pages));
    // p1 queued; p2 sent; p3 failed; p4 unknown; p5 waiting; p6 withdrawn; p7 sent before "since".
    for (const char* id : {"p2", "p3", "p4", "p5", "p7"})
        ASSERT_TRUE(box->Claim(id).value());
    ASSERT_TRUE(box->Finish("p2", PageState::Sent, "250 OK", 2000));
    ASSERT_TRUE(box->Finish("p3", PageState::Failed, "550", 2000));
    ASSERT_TRUE(box->Finish("p7", PageState::Sent, "250 OK", 500));
    ASSERT_TRUE(box->Reschedule("p5", 5000, "421"));
    ASSERT_TRUE(box->Cancel("p6", 2000).value());
    ASSERT_EQ(box->MarkInterrupted(2000).value(), 1); // p4; p5 is waiting, not sending

    struct Case
    {
        RecentView view;
        const char* ids;
    };
    const Case cases[] = {
        {{}, "p4 p2 p3 p1 p5 p6"},
        {{RecentFilter::All, RecentOrder::Created, false}, "p6 p5 p1 p3 p2 p4"},
        {{RecentFilter::All, RecentOrder::Recipient, false}, "p3 p4 p6 p5 p2 p1"},
        {{RecentFilter::All, RecentOrder::Text, true}, "p6 p4 p2 p1 p3 p5"},
        {{RecentFilter::All, RecentOrder::State, false}, "p1 p2 p5 p3 p4 p6"},
        {{RecentFilter::Pending, RecentOrder::Created, true}, "p1 p5"},
        {{RecentFilter::NotSent, RecentOrder::Recipient, true}, "p4 p3"},
    };
    for (const Case& c : cases) {
        std::string read;
        for (int offset = 0; offset < 8; offset += 2) {
            const std::vector<OutboxPage> slice = box->RecentSlice(1000, c.view, offset, 2).value();
            for (const OutboxPage& p : slice)
                read += (read.empty() ? "" : " ") + p.id;
        }
        EXPECT_EQ(read, c.ids) << static_cast<int>(c.view.filter) << " " << static_cast<int>(c.view.order);
        EXPECT_EQ(box->CountRecent(1000, c.view.filter).value(), (std::string(c.ids).size() + 1) / 3);
    }
}

// A failed or withdrawn page goes again as a new page with what the old one captured; the old one stays.
TEST_F(OutboxTest, AFailedOrWithdrawnPageIsSentAgainAsANewPage)
{
    auto box = open();
    ASSERT_TRUE(box);
    std::vector<OutboxPage> pages = {page("Петров", 100), page("Сидоров", 100), page("Иванов", 100)};
    pages[0].deadlineMs = 100 + 30 * 60000;
    pages[0].text = cp("Срочно приезжайте\n\nline 3");
    pages[0].signatureBlocked = true;
    ASSERT_TRUE(box->Add(pages));
    ASSERT_TRUE(box->Claim(pages[0].id).value());
    ASSERT_TRUE(box->Finish(pages[0].id, PageState::Failed, "550", 1000));
    ASSERT_TRUE(box->Cancel(pages[1].id, 1000).value());

    const std::optional<std::string> again = ResendAsNewPage(*box, pages[0].id, 5000).value();
    ASSERT_TRUE(again);
    const OutboxPage made = *box->Page(*again).value();
    EXPECT_NE(made.id, pages[0].id);
    EXPECT_NE(made.batch, pages[0].batch);
    EXPECT_EQ(made.state, PageState::Queued);
    EXPECT_EQ(made.attempts, 0);
    EXPECT_EQ(made.createdMs, 5000);
    EXPECT_EQ(made.deadlineMs, 5000 + 30 * 60000);
    EXPECT_EQ(made.params.CurName, cp("Петров"));
    EXPECT_EQ(made.lines, pages[0].lines);
    EXPECT_EQ(made.text, pages[0].text);
    EXPECT_TRUE(made.signatureBlocked);
    EXPECT_EQ(box->Due(5000).value().size(), 2u); // the new one and the third, still queued
    EXPECT_EQ(stateOf(*box, pages[0].id), PageState::Failed);

    EXPECT_TRUE(ResendAsNewPage(*box, pages[1].id, 5000).value());
    EXPECT_FALSE(ResendAsNewPage(*box, pages[2].id, 5000).value()); // queued: nothing to send again
    EXPECT_FALSE(ResendAsNewPage(*box, "gone", 5000).value());
}

TEST_F(OutboxTest, FilesItCannotUse)
{
    // A file that is no database is kept aside and reported; the next opening starts afresh.
    dir.write(OutboxFileName, std::string(4096, 'x'));
    Result<std::unique_ptr<SqlOutbox>> damaged = SqlOutbox::Open(path);
    ASSERT_FALSE(damaged);
    EXPECT_EQ(damaged.failure().code, FailureCode::Outbox);
    EXPECT_NE(utf8(damaged.failure().text).find("Outbox.db.bad"), std::string::npos);
    EXPECT_EQ(dir.read("Outbox.db.bad"), std::string(4096, 'x'));
    EXPECT_TRUE(open());

    // A folder that is not there.
    EXPECT_FALSE(SqlOutbox::Open(dir.path() + "/missing/Outbox.db"));

    // A full disk: nothing of the pages is added.
    auto box = open();
    ASSERT_TRUE(box);
    std::vector<OutboxPage> pages(40, page("Петров", 1));
    pages[0].lines = {std::string(200000, 'a')};
    {
        test::FileSizeLimit limit(32 * 1024);
        ASSERT_TRUE(limit.active());
        EXPECT_FALSE(box->Add(pages));
    }
    EXPECT_TRUE(box->Due(10).value().empty());
}

} // namespace
} // namespace zolbin
