// SPDX-License-Identifier: GPL-3.0-or-later
// The send controller as a window uses it: each Send's pages are in the outbox before its job starts, a
// Send pressed while a job runs waits its turn, the group question is relayed and its answer taken, and
// the controller is idle once every job is over, the event loop never held meanwhile.
#include "dispatch/SendController.h"

#include "tests/unit/dispatch/SendCommandFixture.h"

#include <QCoreApplication>
#include <QElapsedTimer>

namespace zolbin::test {
namespace {

TEST_F(SendCommandTest, TheSendControllerWritesThePagesFirstAndRunsTheSendsInTurn)
{
    int argc = 1;
    char name[] = "test";
    char* argv[] = {name, nullptr};
    std::unique_ptr<QCoreApplication> app;
    if (QCoreApplication::instance() == nullptr)
        app = std::make_unique<QCoreApplication>(argc, argv);
    ScriptedServer server({snppOk(), snppOk()});
    addCompany("Acme", Gate::SNPP, server.port());
    addCompany("Gone", Gate::SNPP, ScriptedServer::closedPort());
    addGroup({member("Ann", 5, "Gone"), member("Bob", 6, "Acme")});
    SendController sends(dir.folder(), host.settings, host.journal, providers);
    std::vector<std::string> told;
    QObject::connect(&sends, &SendController::question, [&](const QString&) {
        told.push_back("question");
        sends.answer(true);
    });
    QObject::connect(&sends, &SendController::jobStarted, [&] { told.push_back("started"); });
    QObject::connect(&sends, &SendController::idle, [&] { told.push_back("idle"); });

    ASSERT_TRUE(sends.send(order()));
    ASSERT_NE(sends.openedOutbox(), nullptr);
    EXPECT_EQ(sends.openedOutbox()->Unfinished().value(), 2) << "the group's pages, before anything goes";
    chooseSubscriber("Bob", 6, "Acme");
    group = -1;
    ASSERT_TRUE(sends.send(order()));
    EXPECT_EQ(sends.queued(), 1) << "waits for the group's job";

    QElapsedTimer waited;
    waited.start();
    while (sends.sending() && waited.elapsed() < 20000)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
    EXPECT_FALSE(sends.sending());
    EXPECT_EQ(told, (std::vector<std::string>{"started", "question", "started", "idle"}));
    EXPECT_EQ(server.accepted(), 2) << "Bob of the group after the Yes, then Bob alone";
}

} // namespace
} // namespace zolbin::test
