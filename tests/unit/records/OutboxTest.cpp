// SPDX-License-Identifier: GPL-3.0-or-later
// The outbox in its SQLite file: a page's way through its states, what a cut-off attempt leaves, the files
// it cannot use, and the versions of its tables.
#include "platform/Codepage.h"
#include "records/OutboxServer.h"
#include "records/SqlOutbox.h"
#include "tests/support/TempDir.h"
#include "tests/unit/platform/FileSizeLimit.h"

#include <QSqlDatabase>
#include <QSqlQuery>
#include <QVariant>
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

// Runs the statements on the file through a connection of its own, as another program would; gives the
// first column of the last one's first row.
QVariant runSql(const std::string& path, const std::vector<std::string>& statements)
{
    QVariant first;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("other"));
        db.setDatabaseName(QString::fromStdString(path));
        EXPECT_TRUE(db.open());
        for (const std::string& sql : statements) {
            QSqlQuery query(db);
            EXPECT_TRUE(query.exec(QString::fromStdString(sql))) << sql;
            first = query.next() ? query.value(0) : QVariant();
        }
    }
    QSqlDatabase::removeDatabase(QStringLiteral("other"));
    return first;
}

class OutboxTest : public ::testing::Test
{
protected:
    std::unique_ptr<SqlOutbox> open()
    {
        Result<std::unique_ptr<SqlOutbox>> opened = SqlOutbox::Open(path);
        EXPECT_TRUE(opened) << (opened ? "" : utf8(opened.failure().russian()));
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
    const char* const names[] = {"Сидоров", "Петров", "", "Алексеев", "Петров", "Петров"};
    const char* const texts[] = {"б", "в", "а", "г", "а", "д"};
    const std::int64_t created[] = {100, 101, 101, 102, 99, 98};
    std::vector<OutboxPage> pages;
    for (std::size_t i = 0; i < 6; ++i) {
        pages.push_back(page(names[i], created[i]));
        pages.back().id = "p" + std::to_string(i + 1);
        pages.back().text = cp(texts[i]);
    }
    ASSERT_TRUE(box->Add(pages));
    // p1 queued; p2 sent; p3 failed; p4 unknown; p5 waiting; p6 withdrawn.
    for (const char* id : {"p2", "p3", "p4", "p5"})
        ASSERT_TRUE(box->Claim(id).value());
    ASSERT_TRUE(box->Finish("p2", PageState::Sent, "250 OK", 2000) &&
                box->Finish("p3", PageState::Failed, "550", 2000) && box->Reschedule("p5", 5000, "421") &&
                box->Cancel("p6", 2000).value() && box->MarkInterrupted(2000).value() == 1);

    const std::pair<RecentView, const char*> cases[] = {
        {{}, "p4 p2 p3 p1 p5 p6"},
        {{RecentFilter::All, RecentOrder::Created, false}, "p6 p5 p1 p3 p2 p4"},
        {{RecentFilter::All, RecentOrder::Recipient, false}, "p3 p4 p6 p5 p2 p1"},
        {{RecentFilter::All, RecentOrder::Text, true}, "p6 p4 p2 p1 p3 p5"},
        {{RecentFilter::All, RecentOrder::State, false}, "p1 p2 p5 p3 p4 p6"},
        {{RecentFilter::Pending, RecentOrder::Created, true}, "p1 p5"},
        {{RecentFilter::NotSent, RecentOrder::Recipient, true}, "p4 p3"},
    };
    for (const auto& [view, ids] : cases) {
        std::string read;
        for (int offset = 0; offset < 8; offset += 2) {
            const std::vector<OutboxPage> slice = box->RecentSlice(1000, view, offset, 2).value();
            for (const OutboxPage& p : slice)
                read += (read.empty() ? "" : " ") + p.id;
        }
        EXPECT_EQ(read, ids) << static_cast<int>(view.filter) << " " << static_cast<int>(view.order);
        EXPECT_EQ(box->CountRecent(1000, view.filter).value(), (std::string(ids).size() + 1) / 3);
    }
}

TEST_F(OutboxTest, FilesItCannotUse)
{
    // A file that is no database is kept aside and reported; the next opening starts afresh.
    dir.write(OutboxFileName, std::string(4096, 'x'));
    Result<std::unique_ptr<SqlOutbox>> damaged = SqlOutbox::Open(path);
    ASSERT_FALSE(damaged);
    EXPECT_EQ(damaged.failure().code, FailureCode::Outbox);
    EXPECT_NE(utf8(damaged.failure().russian()).find("Outbox.db.bad"), std::string::npos);
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

// An outbox written before its tables had a version: the tables exactly as they were then, a page in each
// state. Opening it stamps it and keeps every page as it was.
TEST_F(OutboxTest, AnOutboxFromBeforeVersionsKeepsEveryPage)
{
    std::vector<std::string> sql = {
        "PRAGMA journal_mode=WAL",
        "CREATE TABLE IF NOT EXISTS outbox_pages ( id VARCHAR(40) NOT NULL PRIMARY KEY, batch VARCHAR(40) "
        "NOT NULL, created_ms BIGINT NOT NULL, state INTEGER NOT NULL, attempts INTEGER NOT NULL, next_ms "
        "BIGINT NOT NULL, deadline_ms BIGINT NOT NULL, finished_ms BIGINT NOT NULL, last_reply TEXT NOT "
        "NULL, name TEXT NOT NULL, number INTEGER NOT NULL, digital INTEGER NOT NULL, max_len INTEGER NOT "
        "NULL, company TEXT NOT NULL, defer_date VARCHAR(10) NOT NULL, defer_time VARCHAR(5) NOT NULL, "
        "repeat_count INTEGER NOT NULL, repeat_interval VARCHAR(5) NOT NULL, send_date VARCHAR(10) NOT "
        "NULL, send_time VARCHAR(5) NOT NULL, message TEXT NOT NULL, signature_blocked INTEGER NOT NULL, "
        "whole_text TEXT NOT NULL)",
        "CREATE INDEX IF NOT EXISTS outbox_due ON outbox_pages (state, next_ms)",
        "CREATE INDEX IF NOT EXISTS outbox_finished ON outbox_pages (finished_ms)",
        "CREATE INDEX IF NOT EXISTS outbox_recent ON outbox_pages (created_ms DESC, id)",
        "INSERT INTO outbox_pages VALUES ('p0', 'b', 100, 0, 0, 100, 0, 0, '', 'Петров', 1234, 1, 80, "
        "'Мобильная связь', '09.12.2026', '10:00', 3, '00:05', '08.12.2026', '10:15', 'Срочно\n\nline 3', 1, "
        "'Срочно line 3')"};
    for (int n = 1; n <= 6; ++n) // p1 ... p6 in state n
        sql.push_back(
            "INSERT INTO outbox_pages SELECT 'p" + std::to_string(n) + "', batch, " +
            std::to_string(100 + n) + ", " + std::to_string(n) +
            ", 1, next_ms, 0, 500, '', name, number, digital, max_len, company, defer_date, defer_time, "
            "repeat_count, repeat_interval, send_date, send_time, message, signature_blocked, "
            "whole_text FROM outbox_pages WHERE id = 'p0'");
    runSql(path, sql);
    {
        auto box = open();
        ASSERT_TRUE(box);
        const std::vector<OutboxPage> all = box->Recent(0).value();
        ASSERT_EQ(all.size(), 7u);
        for (const OutboxPage& p : all) {
            const int n = p.id[1] - '0';
            EXPECT_EQ(static_cast<int>(p.state), n) << p.id;
            EXPECT_EQ(p.createdMs, 100 + n) << p.id;
            EXPECT_EQ(p.params.CurName, cp("Петров")) << p.id;
        }
        const OutboxPage p0 = *box->Page("p0").value();
        EXPECT_EQ(p0.params.CurProvider, cp("Мобильная связь"));
        EXPECT_EQ(p0.params.DeferDate, "09.12.2026");
        EXPECT_EQ(p0.params.CurMaxLen, 80);
        EXPECT_EQ(p0.lines, (std::vector<std::string>{cp("Срочно"), "", "line 3"}));
        EXPECT_TRUE(p0.signatureBlocked);
        EXPECT_EQ(p0.text, cp("Срочно line 3"));
        EXPECT_EQ(box->Due(1000).value().size(), 2u); // p0 and p3
        EXPECT_EQ(box->NotSent(0).value(), 2);        // p4 and p5
    }
    EXPECT_EQ(runSql(path, {"SELECT version FROM schema_version"}).toInt(), SqlOutbox::SchemaVersion);
}

// A version newer than this program knows: refused, the file not touched (in the journal mode it was
// left in, which an opening that went on would change), nothing kept aside.
TEST_F(OutboxTest, ANewerOutboxIsRefusedAndLeftAsItWas)
{
    {
        auto box = open();
        std::vector<OutboxPage> pages = {page("Петров", 100)};
        ASSERT_TRUE(box && box->Add(pages));
    }
    const std::string newer = std::to_string(SqlOutbox::SchemaVersion + 1);
    const std::string stamp = "UPDATE schema_version SET version = " + newer;
    runSql(path, {"PRAGMA journal_mode=DELETE", stamp.c_str()});
    const std::string before = dir.read(OutboxFileName);

    const Result<std::unique_ptr<SqlOutbox>> refused = SqlOutbox::Open(path);
    ASSERT_FALSE(refused);
    EXPECT_EQ(refused.failure().code, FailureCode::Outbox);
    EXPECT_NE(utf8(refused.failure().russian()).find("более новой версией программы (версия " + newer),
              std::string::npos);
    EXPECT_EQ(dir.read(OutboxFileName), before);
    EXPECT_FALSE(dir.exists("Outbox.db.bad"));
}

// A shared outbox's address as libpq reads it: every key it knows passed on, a password or an address
// libpq refuses told before any connection.
TEST(OutboxServer, AnAddressBecomesTheDriversOptionsWithoutAPassword)
{
    EXPECT_EQ(
        ServerConnectOptions("postgresql://pager@db.example.org:6432/paging?sslmode=verify-full").value(),
        "user='pager' dbname='paging' host='db.example.org' port='6432' sslmode='verify-full' "
        "connect_timeout=10");
    EXPECT_EQ(ServerConnectOptions("service=room connect_timeout=3").value(),
              "service='room' connect_timeout='3'");
    for (const char* refused : {"postgresql://pager:secret@db/paging", "password=secret service=room",
                                "postgresql://db/paging?nosuchkey=1", "service='a;b'"}) {
        const Result<std::string> options = ServerConnectOptions(refused);
        ASSERT_FALSE(options) << refused;
        EXPECT_EQ(options.failure().code, FailureCode::Outbox);
        EXPECT_EQ(options.failure().russian().find("secret"), std::string::npos);
    }
}

} // namespace
} // namespace zolbin
