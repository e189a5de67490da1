// SPDX-License-Identifier: GPL-3.0-or-later
// The main window while its send job works: the window stays free (the directory opens, the editor takes
// the next message), a group's progress with its Cancel and its summary, the end of a send told by a
// desktop notification while the window is hidden, a retried page's end always told, the lasting mark of
// the pages that did not go, and the question before closing on pages that wait.

#include "app/MainStatusBar.h"
#include "app/MainWindow.h"
#include "app/Windows.h"
#include "dialogs/Later.h"
#include "directory/ui/Registr.h"
#include "platform/Net.h"
#include "records/OutboxLocks.h"
#include "records/ui/QueueModel.h"
#include "records/ui/QueueWindow.h"
#include "tests/gui/MainWindowTestSupport.h"
#include "tests/gui/SendWindowFixture.h"
#include "tests/support/FixedClock.h"
#include "tests/support/PromptRecorder.h"
#include "tests/support/RecordingHost.h"
#include "tests/support/ScriptedServer.h"
#include "tests/support/TempDir.h"

#include <QAction>
#include <QLabel>
#include <QPushButton>
#include <QStatusBar>
#include <QTableView>
#include <QToolButton>
#include <algorithm>
#include <filesystem>
#include <gtest/gtest.h>
#include <set>

namespace zolbin {
namespace {

using test::ScriptedServer;
using test::ScriptedSession;
using test::snppOk;

// A greeting sent a character at a time: more than a second in which the window acts during the send.
std::vector<std::string> slowGreeting()
{
    std::vector<std::string> pieces;
    for (const char c : std::string("220 SNPP gateway of the test, ready soon"))
        pieces.emplace_back(1, c);
    pieces.emplace_back("\r\n");
    return pieces;
}

// The heights a widget is given.
struct HeightWatch final : QObject
{
    explicit HeightWatch(QWidget* widget) { widget->installEventFilter(this); }
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Resize)
            heights.insert(static_cast<QWidget*>(watched)->height());
        return false;
    }
    std::set<int> heights;
};

class MainWindowSendJob : public test::SendWindowTest
{
protected:
    MainWindowSendJob() : SendWindowTest(3000) {}

    // Ann, Bob and Cid with the company on the port; the group "Team" is all three.
    void start(std::uint16_t port)
    {
        test::writeDirectory(
            dir.folder(),
            {test::subscriber("Ann", 5, 240, "Acme"), test::subscriber("Bob", 6, 240, "Acme"),
             test::subscriber("Cid", 7, 240, "Acme")},
            {{"Team", {0, 1, 2}}}, {HomeProviderDefaults(), test::company("Acme", Gate::SNPP, port)});
        ASSERT_TRUE(startProgram());
    }

    void sendTo(const char* list, const QString& message)
    {
        test::toggleTick(test::control<TickList>(w, list), 0);
        test::typeText(RichEdit, message);
        test::control<QToolButton>(w, "btnSend")->click();
    }
};

TEST_F(MainWindowSendJob, DirectoryOpensAndTheEditorTakesTextWhileASendWaitsOnASilentServer)
{
    ScriptedServer server({ScriptedSession{{}, {test::Reply("250 OK\r\n")}}}); // takes the call, never greets
    start(server.port());
    sendTo("lbAbonent", QStringLiteral("Hello"));
    ASSERT_TRUE(w->sends().sending());

    test::typeText(RichEdit, QStringLiteral(" again"));
    bool opened = false;
    bool sendingMeanwhile = false;
    {
        TfmRegistr* registr = program->windows.fmRegistr.get();
        test::EventLoopStep close([&] {
            if (!registr->isVisible())
                return false;
            opened = true;
            sendingMeanwhile = w->sends().sending();
            registr->reject();
            return true;
        });
        QTest::mouseClick(test::control<QToolButton>(w, "btnAbonent"), Qt::LeftButton);
    }
    EXPECT_TRUE(opened);
    EXPECT_TRUE(sendingMeanwhile) << "the directory was open while the send waited";
    EXPECT_EQ(RichEdit->toPlainText(), QStringLiteral("Hello again"));

    ASSERT_TRUE(test::waitForSends(w));
    const auto journal = test::JournalLines(dir.folder());
    ASSERT_GE(journal.size(), 2u);
    EXPECT_EQ(journal[journal.size() - 2], "Ошибка: Сообщение отправлено не было");
    EXPECT_EQ(RichEdit->toPlainText(), QStringLiteral("Hello again"));
}

TEST_F(MainWindowSendJob, GroupShowsItsProgressAndCancelLeavesTheMembersNotYetStarted)
{
    // Ann's server greets slowly, so that Cancel comes while her page is on its way; it then goes whole.
    ScriptedServer server({snppOk(slowGreeting()), snppOk(), snppOk()});
    start(server.port());
    auto* pnlProgress = test::control<QLabel>(w, "pnlProgress");
    auto* btnCancelSend = test::control<QPushButton>(w, "btnCancelSend");
    EXPECT_FALSE(pnlProgress->isVisible());
    // The bar keeps its height: for a reply's line break, and for the Cancel button.
    QStatusBar* bar = w->statusBar();
    HeightWatch watch(bar);
    w->status().setText(QStringLiteral("220 SNPP gateway of the test, ready soon\r\n"));
    QTest::qWait(50);
    sendTo("lbGroup", QStringLiteral("Hi"));
    ASSERT_TRUE(QTest::qWaitFor([&] { return btnCancelSend->isVisible(); }, 5000));
    EXPECT_EQ(pnlProgress->text(), QStringLiteral("1 из 3: Ann"));
    QTest::mouseClick(btnCancelSend, Qt::LeftButton);
    ASSERT_TRUE(test::waitForSends(w));
    EXPECT_EQ(watch.heights, std::set<int>{}) << "resized from " << bar->height();

    EXPECT_EQ(server.accepted(), 1);
    const auto journal = test::JournalLines(dir.folder());
    ASSERT_GE(journal.size(), 6u);
    EXPECT_EQ(std::vector<std::string>(journal.end() - 6, journal.end()),
              (std::vector<std::string>{"Сообщение успешно отправлено", "", "Отменено оператором: Bob", "",
                                        "Отменено оператором: Cid", ""}));
    EXPECT_FALSE(pnlProgress->isVisible());
    EXPECT_FALSE(btnCancelSend->isVisible());
    EXPECT_EQ(RichEdit->toPlainText(), QStringLiteral("Hi")) << "a cancelled send cleans nothing up";

    // The last text's two seconds over, the group's summary stays until the next send.
    auto* StatusText = test::control<QLabel>(w, "StatusText");
    const QString summary = QString::fromUtf8("Группа «Team»: отправлено 1 из 3, отменено 2");
    EXPECT_TRUE(QTest::qWaitFor([&] { return StatusText->text() == summary; }, 5000))
        << StatusText->text().toStdString();
    QTest::qWait(2500);
    EXPECT_EQ(StatusText->text(), summary);
}

TEST_F(MainWindowSendJob, CompleteSendCleansUpWhatItTookAndKeepsTheNextPageTypedMeanwhile)
{
    ScriptedSession held = snppOk(slowGreeting());
    held.replies.push_back(test::Reply("250 OK\r\n")); // HOLD
    ScriptedServer server({held});
    start(server.port());
    test::toggleTick(test::control<TickList>(w, "lbAbonent"), 0);
    program->session.SendParams.DeferDate = "31.12.2026";
    program->session.SendParams.DeferTime = "10:00";
    program->windows.fmLater->SetServiceSummary(cp("Отложено на 31.12.2026 10:00"));
    test::typeText(RichEdit, QStringLiteral("Page"));
    test::control<QToolButton>(w, "btnSend")->click();
    test::typeText(RichEdit, QStringLiteral(" next"));
    ASSERT_TRUE(test::waitForSends(w));

    EXPECT_EQ(server.accepted(), 1);
    EXPECT_NE(server.received()[0].find("HOLD 261231100000\r\n"), std::string::npos);
    EXPECT_EQ(program->session.SendParams.DeferDate, "") << "the deferral the send took is gone";
    EXPECT_EQ(program->windows.fmLater->ServiceSummary(), "");
    EXPECT_EQ(RichEdit->toPlainText(), QStringLiteral("Page next")) << "Clear=1 spares the next page";
}

TEST_F(MainWindowSendJob, EndOfASendIsANotificationOnlyWhileTheWindowIsHidden)
{
    ScriptedServer server({snppOk(), snppOk()});
    start(server.port());
    std::vector<QString> notified;
    w->status().setSendNotifier([&](const QString& text, bool) { notified.push_back(text); });

    sendTo("lbAbonent", QStringLiteral("Seen"));
    ASSERT_TRUE(test::waitForSends(w));
    EXPECT_TRUE(notified.empty());

    test::typeText(RichEdit, QStringLiteral("Hidden"));
    w->hide(); // as into the notification area
    w->action(Command::Send)->trigger();
    ASSERT_TRUE(test::waitForSends(w));
    EXPECT_EQ(notified, std::vector<QString>{QString::fromUtf8("Сообщение успешно отправлено")});
    EXPECT_EQ(server.accepted(), 2);
}

TEST_F(MainWindowSendJob, APageThatCannotGetThroughWaitsAndTheOpenWindowSendsItWhenDue)
{
    dir.write("Zolbin.ini", test::settingsFile("RetryMinutes=10\r\n"));
    ScriptedServer server({ScriptedSession{{"421 Too busy\r\n"}, {}}, snppOk()});
    start(server.port());
    std::vector<QString> notified;
    w->status().setSendNotifier([&](const QString& text, bool) { notified.push_back(text); });
    auto* pnlOutbox = test::control<QLabel>(w, "pnlOutbox");

    sendTo("lbAbonent", QStringLiteral("Later"));
    ASSERT_TRUE(test::waitForSends(w));
    EXPECT_TRUE(pnlOutbox->isVisible());
    EXPECT_EQ(pnlOutbox->text(), QString::fromUtf8("В очереди: 1"));
    EXPECT_TRUE(std::none_of(prompts.requests().begin(), prompts.requests().end(),
                             [](const PromptRequest& r) { return r.kind != PromptKind::Message; }));

    clock.setNow(clock.now().addSecs(61)); // the first retry falls due
    w->sends().workOutbox();
    ASSERT_TRUE(test::waitForSends(w));
    EXPECT_EQ(server.accepted(), 2);
    EXPECT_FALSE(pnlOutbox->isVisible());
    EXPECT_EQ(notified,
              std::vector<QString>{QString::fromUtf8("Сообщение для абонента Ann отправлено (попытка 2)")});
    EXPECT_EQ(RichEdit->toPlainText(), QStringLiteral("Later")) << "a retry takes nothing from the window";
}

TEST_F(MainWindowSendJob, ARetryRefusedForGoodIsToldAndMarkedUntilTheQueueIsOpenedOnIt)
{
    dir.write("Zolbin.ini", test::settingsFile("RetryMinutes=10\r\n"));
    ScriptedServer server(
        {ScriptedSession{{"421 Too busy\r\n"}, {}}, ScriptedSession{{"554 Go away\r\n"}, {}}});
    start(server.port());
    std::vector<std::pair<QString, bool>> notified;
    w->status().setSendNotifier(
        [&](const QString& text, bool failed) { notified.emplace_back(text, failed); });
    auto* pnlOutbox = test::control<QLabel>(w, "pnlOutbox");
    auto* pnlNotSent = test::control<QLabel>(w, "pnlNotSent");
    TfmQueue* queue = program->windows.fmQueue.get();

    sendTo("lbAbonent", QStringLiteral("Later"));
    ASSERT_TRUE(test::waitForSends(w));
    ASSERT_TRUE(pnlOutbox->isVisible());
    EXPECT_FALSE(pnlNotSent->isVisible()) << "a page that waits is no page that did not go";
    QTest::mouseClick(pnlOutbox, Qt::LeftButton);
    EXPECT_TRUE(queue->isVisible());
    queue->hide();

    clock.setNow(clock.now().addSecs(61));
    w->sends().workOutbox();
    ASSERT_TRUE(test::waitForSends(w));
    ASSERT_EQ(notified.size(), 1u) << "told while the window is shown";
    EXPECT_TRUE(
        notified[0].first.startsWith(QString::fromUtf8("Сообщение для абонента Ann отправить не удалось")));
    EXPECT_TRUE(notified[0].second) << "with the error icon";
    EXPECT_FALSE(pnlOutbox->isVisible());
    ASSERT_TRUE(pnlNotSent->isVisible());
    EXPECT_EQ(pnlNotSent->text(), QString::fromUtf8("Не отправлено: 1"));
    EXPECT_EQ(pnlNotSent->accessibleName(), pnlNotSent->text());
    QTest::qWait(2500);
    EXPECT_TRUE(pnlNotSent->isVisible()) << "the mark outlasts the status text";

    QTest::mouseClick(pnlNotSent, Qt::LeftButton);
    ASSERT_TRUE(queue->isVisible());
    const auto* grid = test::control<QTableView>(queue, "gridQueue");
    const QModelIndexList chosen = grid->selectionModel()->selectedRows(QueueModel::State);
    ASSERT_EQ(chosen.size(), 1);
    EXPECT_EQ(chosen[0].data().toString(), QString::fromUtf8("Не отправлено"));
    EXPECT_FALSE(pnlNotSent->isVisible()) << "seen";
    w->sends().workOutbox();
    EXPECT_FALSE(pnlNotSent->isVisible());
    queue->hide();
}

TEST_F(MainWindowSendJob, ClosingOnPagesThatWaitAsksUnlessTheServiceWillSendThem)
{
    dir.write("Zolbin.ini", test::settingsFile("RetryMinutes=10\r\n"));
    ScriptedServer server({ScriptedSession{{"421 Too busy\r\n"}, {}}});
    start(server.port());
    sendTo("lbAbonent", QStringLiteral("Later"));
    ASSERT_TRUE(test::waitForSends(w));

    {
        FileLock service; // held by "zolbin-send --work-outbox --follow" while it runs
        ASSERT_EQ(service.take(dir.file(OutboxFollowerLockName), FileLock::Mode::Shared),
                  FileLock::Result::Taken);
        EXPECT_TRUE(w->close());
        EXPECT_TRUE(prompts.requests().empty());
    }
    ASSERT_TRUE(test::showActive(w));
    prompts.answer(false);
    EXPECT_FALSE(w->close());
    EXPECT_TRUE(w->isVisible());
    ASSERT_EQ(prompts.texts(), std::vector<std::string>{"В очереди 1 сообщений. Служба отправки не запущена: "
                                                        "после закрытия они не будут отправлены. Закрыть?"});
    EXPECT_EQ(prompts.requests()[0].caption.toStdString(), "Подтверждение");
    prompts.answer(true);
    EXPECT_TRUE(w->close());
}

TEST_F(MainWindowSendJob, AnOutboxThatCannotBeOpenedIsToldAndStopsTheSendBeforeAnythingGoes)
{
    ScriptedServer server({snppOk()});
    std::filesystem::create_directory(dir.file("Outbox.db")); // no database can be made there
    start(server.port());
    // The outbox is first looked at once the window is up.
    ASSERT_TRUE(QTest::qWaitFor([this] { return !prompts.requests().empty(); }, 5000));
    ASSERT_EQ(prompts.requests().size(), 1u) << "told once at start";
    sendTo("lbAbonent", QStringLiteral("Kept"));
    ASSERT_TRUE(test::waitForSends(w));

    EXPECT_EQ(server.accepted(), 0);
    ASSERT_EQ(prompts.requests().size(), 2u);
    EXPECT_NE(prompts.requests().back().text.toStdString().find("Очередь сообщений недоступна"),
              std::string::npos);
    EXPECT_EQ(prompts.requests().back().icon, PromptIcon::Stop);
    EXPECT_EQ(RichEdit->toPlainText(), QStringLiteral("Kept"));

    // A damaged file is kept aside at start and the operator told so.
    program.reset();
    std::filesystem::remove(dir.file("Outbox.db"));
    dir.write("Outbox.db", std::string(4096, 'x'));
    const std::size_t told = prompts.requests().size();
    start(server.port());
    ASSERT_TRUE(QTest::qWaitFor([&] { return prompts.requests().size() > told; }, 5000));
    EXPECT_NE(prompts.requests().back().text.toStdString().find("Outbox.db.bad"), std::string::npos);
    EXPECT_TRUE(dir.exists("Outbox.db.bad"));
}

} // namespace
} // namespace zolbin
