// SPDX-License-Identifier: GPL-3.0-or-later
// The outbox's one worker, the test clock driving it: a page due is started once, a page that waits is
// started again when it falls due, and nothing starts while its owner holds it off.
#include "dispatch/OutboxWorker.h"

#include "tests/unit/dispatch/SendCommandFixture.h"

#include <QCoreApplication>

namespace zolbin::test {
namespace {

class StartedPages final : public OutboxWorker::Runner
{
public:
    void startPage(const OutboxPage& page) override { started.push_back(page.id); }
    std::vector<std::string> started;
};

TEST_F(SendCommandTest, TheOutboxWorkerStartsEachPageWhenDueAndNeverWhileHeldOff)
{
    int argc = 1;
    char name[] = "test";
    char* argv[] = {name, nullptr};
    std::unique_ptr<QCoreApplication> app;
    if (QCoreApplication::instance() == nullptr)
        app = std::make_unique<QCoreApplication>(argc, argv);
    std::unique_ptr<Outbox> outbox = std::move(OpenFolderOutbox(dir.folder()).value());
    SendOrder taken = order();
    ASSERT_TRUE(EnqueueOrder(taken, *outbox, PageHolder::Worker, 10, NowMs()));
    const std::vector<std::string> once = {taken.pageIds[0]};
    StartedPages pages;
    OutboxWorker::Options how(dir.folder());
    how.pollMs = 60 * 60 * 1000; // no look but those the test makes
    how.outbox = [&] { return outbox.get(); };
    OutboxWorker worker(how, pages);

    worker.setPaused(true);
    worker.look();
    EXPECT_TRUE(pages.started.empty()) << "held off";
    worker.setPaused(false);
    worker.look();
    worker.look();
    EXPECT_EQ(pages.started, once) << "a page under way is not started again";

    SendOrder attempt = OrderOfPage(*outbox->Page(once[0]).value(), providers, dir.folder());
    ASSERT_TRUE(attempt.ledger->Starting(0).value());
    ASSERT_TRUE(attempt.ledger->Failed(0, FailureKind::Passing, "421 busy"));
    worker.pageDone();
    QCoreApplication::processEvents();
    worker.look();
    EXPECT_EQ(pages.started, once) << "the page waits";
    clock.setNow(clock.now().addSecs(61));
    worker.look();
    EXPECT_EQ(pages.started.size(), 2u) << "due again";
}

} // namespace
} // namespace zolbin::test
