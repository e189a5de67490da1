// SPDX-License-Identifier: GPL-3.0-or-later
// The send job on its worker thread: what it took when Send was pressed is what it sends, and the
// operator's Cancel stops a group before the members not yet started, never inside a page.

#include "dispatch/SendJob.h"

#include "tests/unit/dispatch/SendCommandFixture.h"

#include <QThread>
#include <future>

namespace zolbin::test {
namespace {

using ::testing::ElementsAreArray;

class SendJobTest : public SendCommandTest
{
protected:
    SendOrder order()
    {
        SendOrder taken = TakeOrder(dir.folder(), params, group, groups, providers);
        taken.settings = host.settings;
        taken.journal = host.journal;
        taken.lines = host.lines;
        taken.text = host.EditorText();
        return taken;
    }

    // Runs the job and waits for its end; onMember runs on the job's thread as each member starts.
    SendOutcome run(SendJob& job, std::function<void(int)> onMember = {})
    {
        std::promise<Qt::HANDLE> finished;
        QObject::connect(
            &job, &SendJob::memberStarted, &job,
            [&](int number, int, const QByteArray& name) {
                members.push_back(name.toStdString());
                if (onMember)
                    onMember(number);
            },
            Qt::DirectConnection);
        QObject::connect(
            &job, &SendJob::finished, &job, [&] { finished.set_value(QThread::currentThreadId()); },
            Qt::DirectConnection);
        job.start();
        std::future<Qt::HANDLE> done = finished.get_future();
        EXPECT_EQ(done.wait_for(std::chrono::seconds(20)), std::future_status::ready);
        EXPECT_NE(done.get(), QThread::currentThreadId()) << "the send runs on a thread of its own";
        return job.outcome();
    }

    std::vector<std::string> members;
};

TEST_F(SendJobTest, SendsWhatWasTakenWhateverTheDirectoryBecomesMeanwhile)
{
    ScriptedServer server({snppOk()});
    addCompany("Acme", Gate::SNPP, server.port());
    addGroup({member("Ann", 5, "Acme")});
    SendJob job(order());
    // The directory changes after Send: the member is renamed, the company moves to a dead port.
    groups[0]->Members[0]->Name = "Renamed";
    providers[0]->SNPPPort = ScriptedServer::closedPort();

    EXPECT_EQ(run(job), SendOutcome::Completed);
    EXPECT_EQ(server.accepted(), 1);
    EXPECT_EQ(server.received()[0].rfind("PAGE 5\r\n", 0), 0u);
    EXPECT_EQ(members, std::vector<std::string>{"Ann"});
    EXPECT_TRUE(dir.exists("Log/Ann.log"));
}

TEST_F(SendJobTest, CancelLeavesTheMembersNotYetStartedAndFinishesTheOneServed)
{
    const std::vector<std::string> names = {"Ann", "Bob", "Cid"};
    for (int cancelAt = 0; cancelAt <= 3; ++cancelAt) { // 0: never cancelled
        SCOPED_TRACE("cancelled while member " + std::to_string(cancelAt) + " is served");
        std::filesystem::remove(dir.file("Zolbin.log"));
        ASSERT_TRUE(host.journal.EnsureExists());
        groups.Clear();
        providers.Clear();
        members.clear();
        ScriptedServer server({snppOk(), snppOk(), snppOk()});
        addCompany("Acme", Gate::SNPP, server.port());
        addGroup({member("Ann", 1, "Acme"), member("Bob", 2, "Acme"), member("Cid", 3, "Acme")});

        SendJob job(order());
        const SendOutcome outcome = run(job, [&](int number) {
            if (number == cancelAt)
                job.cancel();
        });

        const int served = cancelAt == 0 ? 3 : cancelAt;
        EXPECT_EQ(outcome, served == 3 ? SendOutcome::Completed : SendOutcome::Stopped);
        EXPECT_EQ(members, std::vector<std::string>(names.begin(), names.begin() + served));
        EXPECT_EQ(server.accepted(), served);
        const std::vector<std::string> sessions = server.received();
        for (int i = 0; i < served; ++i) {
            const std::string& session = sessions[static_cast<std::size_t>(i)];
            ASSERT_GE(session.size(), 6u);
            EXPECT_EQ(session.substr(session.size() - 6), "QUIT\r\n") << "each page goes whole";
        }
        EXPECT_TRUE(dir.exists("Log/" + names[static_cast<std::size_t>(served - 1)] + ".log"));

        // The journal: every served member's block ends with its success, the others are cancelled.
        std::vector<std::string> expectedTail;
        for (std::size_t i = static_cast<std::size_t>(served); i < names.size(); ++i) {
            expectedTail.push_back("Отменено оператором: " + names[i]);
            expectedTail.push_back("");
        }
        const std::vector<std::string> journal = JournalLines(dir.folder());
        ASSERT_GE(journal.size(), expectedTail.size() + 2);
        EXPECT_THAT(std::vector<std::string>(journal.end() - static_cast<std::ptrdiff_t>(expectedTail.size()),
                                             journal.end()),
                    ElementsAreArray(expectedTail));
        EXPECT_EQ(journal[journal.size() - expectedTail.size() - 2], "Сообщение успешно отправлено");
        EXPECT_EQ(std::count(journal.begin(), journal.end(), "Сообщение успешно отправлено"), served);
    }
}

} // namespace
} // namespace zolbin::test
