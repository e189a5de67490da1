// SPDX-License-Identifier: GPL-3.0-or-later
// The Send command run from the main window against a scripted SNPP server on 127.0.0.1: what is
// sent, journalled and archived, the window after the send, the group question, a second Send while
// one runs (queued after it), and the service functions and unregistered subscriber flows around it.

#include "app/MainWindow.h"
#include "app/RecipientChoice.h"
#include "app/Windows.h"
#include "dialogs/Later.h"
#include "dialogs/Unlisted.h"
#include "platform/Net.h"
#include "platform/SecretStore.h"
#include "tests/gui/MainWindowTestSupport.h"
#include "tests/gui/SendWindowFixture.h"
#include "tests/support/FixedClock.h"
#include "tests/support/PromptRecorder.h"
#include "tests/support/RecordingHost.h"
#include "tests/support/ScriptedServer.h"
#include "tests/support/TempDir.h"

#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QToolButton>
#include <algorithm>
#include <filesystem>
#include <gtest/gtest.h>

namespace zolbin {
namespace {

using test::ScriptedServer;
using test::ScriptedSession;
using test::snppOk;
using test::toggleTick;
using test::typeText;

QString text(const char* utf8)
{
    return QString::fromUtf8(utf8);
}

class MainWindowSend : public test::SendWindowTest
{
protected:
    MainWindowSend() : SendWindowTest(2000) {}

    // Ann and Cid with the company that answers on the port, Bob with one where nobody listens; the
    // group "Team" is Bob and Cid.
    void start(std::uint16_t port)
    {
        test::writeDirectory(dir.folder(),
                             {test::subscriber("Ann", 5, 240, "Acme"),
                              test::subscriber("Bob", 6, 240, "Dead"),
                              test::subscriber("Cid", 7, 240, "Acme")},
                             {{"Team", {1, 2}}},
                             {HomeProviderDefaults(), test::company("Acme", Gate::SNPP, port),
                              test::company("Dead", Gate::SNPP, ScriptedServer::closedPort())});
        ASSERT_TRUE(startProgram());
        lbAbonent = test::control<TickList>(w, "lbAbonent");
        Label2 = test::control<QLabel>(w, "Label2");
        btnSend = test::control<QToolButton>(w, "btnSend");
        btnLater = test::control<QToolButton>(w, "btnLater");
        serviceAction = w->action(Command::Service);
    }

    void setServiceSummary(const char* summary)
    {
        program->windows.fmLater->SetServiceSummary(cp(summary));
        Label2->setText(text(summary));
    }

    TickList* lbAbonent = nullptr;
    QLabel* Label2 = nullptr;
    QToolButton* btnSend = nullptr;
    QToolButton* btnLater = nullptr;
    QAction* serviceAction = nullptr;
};

TEST_F(MainWindowSend, SubscriberIsSentJournalledArchivedAndTheWindowCleanedUp)
{
    ScriptedServer server({snppOk()});
    start(server.port());
    toggleTick(lbAbonent, 0);
    typeText(RichEdit, QStringLiteral("Hello"));
    setServiceSummary("Повторы - 1*00:10"); // a summary left over: the complete send clears it

    QTest::mouseClick(btnSend, Qt::LeftButton);
    ASSERT_TRUE(test::waitForSends(w));

    EXPECT_TRUE(prompts.requests().empty());
    ASSERT_EQ(server.received().size(), 1u);
    EXPECT_EQ(server.received()[0].rfind("PAGE 5\r\nMESS Hello", 0), 0u);
    const auto journal = test::JournalLines(dir.folder());
    ASSERT_GE(journal.size(), 3u);
    EXPECT_EQ(journal.front(), "Инициализация...");
    EXPECT_EQ(journal[journal.size() - 2], "Сообщение успешно отправлено");
    EXPECT_EQ(journal.back(), "");
    EXPECT_EQ(dir.read("Log/Ann.log"), "Acme, 07.12.2026 09:30\r\nHello\r\n\r\n");
    // The last text stays its two seconds, then goes.
    auto* StatusText = test::control<QLabel>(w, "StatusText");
    EXPECT_EQ(StatusText->text(), text("Сообщение успешно отправлено"));
    EXPECT_TRUE(QTest::qWaitFor([&] { return StatusText->text().isEmpty(); }, 5000));
    EXPECT_EQ(StatusText->text(), QString());
    EXPECT_EQ(RichEdit->toPlainText(), QString()) << "Clear=1 empties the editor";
    EXPECT_EQ(test::control<QLabel>(w, "pnlCount")->text(), QStringLiteral("0:240"));
    EXPECT_EQ(Label2->text(), QString());
    EXPECT_EQ(program->windows.fmLater->ServiceSummary(), "");
    EXPECT_TRUE(btnLater->isEnabled()) << "the subscriber is still ticked";
}

TEST_F(MainWindowSend, GroupQuestionYesServesTheNextMemberAndNoStopsWithEverythingKept)
{
    ScriptedServer server({snppOk()});
    start(server.port());
    toggleTick(test::control<TickList>(w, "lbGroup"), 0);
    typeText(RichEdit, QStringLiteral("Hi"));
    prompts.answer(true);
    QTest::mouseClick(btnSend, Qt::LeftButton);
    ASSERT_TRUE(test::waitForSends(w)); // the question is asked by the window while the job waits

    ASSERT_EQ(prompts.requests().size(), 1u);
    EXPECT_EQ(prompts.requests()[0].kind, PromptKind::YesNo);
    EXPECT_EQ(prompts.requests()[0].caption.toStdString(), "Предупреждение");
    EXPECT_EQ(prompts.texts()[0],
              "Для абонента Bob сообщение отправить не удалось. Продолжать для остальных?");
    EXPECT_EQ(server.accepted(), 1);
    EXPECT_TRUE(dir.exists("Log/Cid.log"));
    EXPECT_EQ(RichEdit->toPlainText(), QString());

    // No: Cid is not served and the deferral, its summary and the text stay for the next try.
    prompts.clear();
    prompts.answer(false);
    typeText(RichEdit, QStringLiteral("Hi"));
    program->session.SendParams.DeferDate = "31.12.2026";
    program->session.SendParams.DeferTime = "10:00";
    setServiceSummary("Отложено на 31.12.2026 10:00");
    QTest::mouseClick(btnSend, Qt::LeftButton);
    ASSERT_TRUE(test::waitForSends(w));
    EXPECT_EQ(prompts.requests().size(), 1u);
    EXPECT_EQ(server.accepted(), 1);
    EXPECT_EQ(program->session.SendParams.DeferDate, "31.12.2026");
    EXPECT_EQ(Label2->text(), text("Отложено на 31.12.2026 10:00"));
    EXPECT_EQ(RichEdit->toPlainText(), QStringLiteral("Hi"));
}

// Company.lst changed behind the window (the company moved to another port): the next send reads it
// again, says so, and connects to the new port. A changed subscriber list is reloaded too, which drops
// the recipient: nothing is sent until the operator chooses again.
TEST_F(MainWindowSend, ListFileChangedOnDiskIsReadAgainBeforeTheSend)
{
    ScriptedServer server({snppOk(), snppOk()});
    start(ScriptedServer::closedPort());
    toggleTick(lbAbonent, 0);
    typeText(RichEdit, QStringLiteral("Hello"));
    TProviderList moved;
    moved.Add(std::make_shared<TProvider>(HomeProviderDefaults()));
    moved.Add(std::make_shared<TProvider>(test::company("Acme", Gate::SNPP, server.port())));
    ASSERT_TRUE(moved.SaveToFile(dir.file(CompanyFileName)));

    QTest::mouseClick(btnSend, Qt::LeftButton);
    ASSERT_TRUE(test::waitForSends(w));
    EXPECT_EQ(prompts.texts(), std::vector<std::string>{
                                   "Список пейджинговых компаний изменён вне программы и загружен заново."});
    ASSERT_EQ(server.accepted(), 1);
    EXPECT_EQ(server.received()[0].rfind("PAGE 5\r\n", 0), 0u);
    EXPECT_EQ(program->session.providers.Items(1)->SNPPPort, server.port());

    // Nothing changed since: no word, the same company.
    prompts.clear();
    typeText(RichEdit, QStringLiteral("Again"));
    QTest::mouseClick(btnSend, Qt::LeftButton);
    ASSERT_TRUE(test::waitForSends(w));
    EXPECT_TRUE(prompts.texts().empty());
    EXPECT_EQ(server.accepted(), 2);

    // The subscriber list rewritten behind the window: reloaded, the recipient dropped, nothing sent.
    TAbonentList people;
    people.Add(std::make_shared<TAbonent>(test::subscriber("Zoe", 9, 240, "Acme")));
    ASSERT_TRUE(people.SaveToFile(dir.file(AbonentFileName)));
    toggleTick(lbAbonent, 0);
    typeText(RichEdit, QStringLiteral("Third"));
    QTest::mouseClick(btnSend, Qt::LeftButton);
    ASSERT_TRUE(test::waitForSends(w));
    EXPECT_EQ(prompts.texts(),
              std::vector<std::string>{"Справочник изменён вне программы и загружен заново. "
                                       "Сообщение не отправлено: выберите получателя ещё раз."});
    EXPECT_EQ(server.accepted(), 2);
    EXPECT_EQ(lbAbonent->count(), 1);
    EXPECT_EQ(lbAbonent->lineText(0), QStringLiteral("Zoe -- 9"));
    EXPECT_FALSE(w->recipients().AnyAbonentTicked());
}

TEST_F(MainWindowSend, SecondSendWhileOneRunsIsQueuedAfterItAndTheCommandsComeBackAsTheSendLeftThem)
{
    ScriptedServer server({snppOk({"220 ", "SNPP ", "ready\r\n"}), snppOk()}); // a slow greeting first
    start(server.port());
    toggleTick(lbAbonent, 0);
    typeText(RichEdit, QStringLiteral("Hello"));
    // The tick goes without the window noticing: Ann stays the recipient, but nothing is ticked, so
    // the complete send must leave the service functions disabled.
    lbAbonent->setTicked(0, false);
    ASSERT_TRUE(serviceAction->isEnabled());

    QTest::mouseClick(btnSend, Qt::LeftButton);
    ASSERT_TRUE(w->sends().sending());
    // The window stays free: only the deletion of the journal and the archives waits for the send.
    std::vector<bool> during;
    for (QWidget* c : std::initializer_list<QWidget*>{btnSend, test::control<QToolButton>(w, "btnUnlisted"),
                                                      lbAbonent, test::control<QToolButton>(w, "btnDelArch")})
        during.push_back(c->isEnabled());
    for (QAction* a :
         {w->action(Command::Send), w->action(Command::Settings), w->action(Command::DeleteJournal)})
        during.push_back(a->isEnabled());
    during.push_back(RichEdit->isReadOnly());
    EXPECT_EQ(during, (std::vector<bool>{true, true, true, false, true, true, false, false}));
    QTest::keyClick(w, Qt::Key_F2); // the same page again: it waits its turn
    EXPECT_EQ(w->sends().queued(), 1);
    ASSERT_TRUE(test::waitForSends(w));

    EXPECT_EQ(server.accepted(), 2);
    const auto journal = test::JournalLines(dir.folder());
    EXPECT_EQ(std::count(journal.begin(), journal.end(), "Инициализация..."), 2);
    EXPECT_EQ(std::count(journal.begin(), journal.end(), "Сообщение успешно отправлено"), 2);
    EXPECT_EQ(journal[journal.size() - 2], "Сообщение успешно отправлено");
    for (QWidget* c : std::initializer_list<QWidget*>{btnSend, test::control<QToolButton>(w, "btnUnlisted"),
                                                      lbAbonent, test::control<TickList>(w, "lbGroup")})
        EXPECT_TRUE(c->isEnabled()) << c->objectName().toStdString();
    EXPECT_TRUE(w->action(Command::Send)->isEnabled());
    EXPECT_TRUE(w->action(Command::Settings)->isEnabled());
    EXPECT_TRUE(w->action(Command::DeleteJournal)->isEnabled());
    EXPECT_FALSE(RichEdit->isReadOnly());
    EXPECT_FALSE(btnLater->isEnabled());
    EXPECT_FALSE(serviceAction->isEnabled());
}

TEST_F(MainWindowSend, ServiceDialogSetsLabel2WhicheverWayItCloses)
{
    start(444);
    toggleTick(lbAbonent, 0);
    auto closeLater = [this](bool defer, QPushButton* TfmLater::*button) {
        return [=, this] {
            if (!program->windows.fmLater->isVisible())
                return false;
            if (defer)
                QTest::mouseClick(program->windows.fmLater->btnLater, Qt::LeftButton);
            QTest::mouseClick(program->windows.fmLater.get()->*button, Qt::LeftButton);
            return true;
        };
    };
    {
        test::EventLoopStep step(closeLater(true, &TfmLater::btnOK));
        QTest::mouseClick(btnLater, Qt::LeftButton);
    }
    EXPECT_EQ(Label2->text(), text("Отложено на 07.12.2026 09:30"));
    EXPECT_EQ(program->session.SendParams.DeferDate, "07.12.2026");
    {
        test::EventLoopStep step(closeLater(true, &TfmLater::btnCancel));
        serviceAction->trigger(); // F4; the shortcut itself is checked with the menu table
    }
    EXPECT_EQ(Label2->text(), text("Отложено на 07.12.2026 09:30")) << "Cancel keeps the settings";
    {
        test::EventLoopStep step(closeLater(false, &TfmLater::btnOK));
        serviceAction->trigger(); // F4; the shortcut itself is checked with the menu table
    }
    EXPECT_EQ(Label2->text(), QString());
    EXPECT_EQ(program->session.SendParams.DeferDate, "");
}

TEST_F(MainWindowSend, UnregisteredSubscriberOkBecomesTheRecipientAndCancelDropsTheServiceSettings)
{
    start(444);
    toggleTick(lbAbonent, 0);
    ASSERT_TRUE(serviceAction->isEnabled());
    TfmUnlisted& unlisted = *program->windows.fmUnlisted;
    // Inside the dialog: a number, a deferral through its service button, then OK or Cancel.
    auto fill = [&](const char* number, QPushButton* close) {
        return [&unlisted, number, close] {
            if (!unlisted.isVisible())
                return false;
            typeText(unlisted.EditNum, QString::fromLatin1(number));
            QTest::mouseClick(unlisted.btnLater, Qt::LeftButton);
            QTest::mouseClick(close, Qt::LeftButton);
            return true;
        };
    };
    auto deferInside = [this] {
        if (!program->windows.fmLater->isVisible())
            return false;
        QTest::mouseClick(program->windows.fmLater->btnLater, Qt::LeftButton);
        QTest::mouseClick(program->windows.fmLater->btnOK, Qt::LeftButton);
        return true;
    };
    {
        test::EventLoopStep later(deferInside);
        test::EventLoopStep step(fill("0012345", unlisted.btnOK));
        QTest::mouseClick(test::control<QToolButton>(w, "btnUnlisted"), Qt::LeftButton);
    }
    EXPECT_EQ(test::control<QLabel>(w, "Label1")->text(), text("Для абонента - 12345"));
    EXPECT_EQ(Label2->text(), text("Отложено на 07.12.2026 09:30"));
    EXPECT_EQ(test::control<QLabel>(w, "pnlCount")->text(), QStringLiteral("0:240"));
    EXPECT_FALSE(RichEdit->isReadOnly());
    EXPECT_EQ(RichEdit->maxLength(), 240);
    EXPECT_FALSE(w->recipients().AnyAbonentTicked());
    EXPECT_FALSE(btnLater->isEnabled());
    EXPECT_TRUE(serviceAction->isEnabled()) << "the menu item keeps its state";
    EXPECT_EQ(program->session.SendParams.CurNumber, 12345);
    EXPECT_EQ(program->session.SendParams.CurName, "");

    {
        test::EventLoopStep later(deferInside);
        test::EventLoopStep step(fill("777", unlisted.btnCancel));
        // The menu item (F3): its shortcut is checked with the menu table; a key sent here could miss a
        // window that a loaded machine has not activated yet.
        w->action(Command::Unlisted)->trigger();
    }
    EXPECT_EQ(program->session.SendParams.DeferDate, "");
    EXPECT_EQ(program->session.SendParams.DeferTime, "");
    EXPECT_EQ(program->windows.fmLater->ServiceSummary(), "");
    EXPECT_EQ(Label2->text(), QString());
    EXPECT_EQ(test::control<QLabel>(w, "Label1")->text(), text("Для абонента - 12345"))
        << "the recipient stays";
    EXPECT_EQ(program->session.SendParams.CurNumber, 12345);
    EXPECT_EQ(w->focusWidget(), RichEdit);
}

// The secret store of a desktop: one answer for every read, the keys asked kept.
class AnsweringStore final : public SecretStore
{
public:
    Answer read(const std::string& key) override
    {
        asked.push_back(key);
        return answer;
    }
    Answer write(const std::string&, const std::string&) override { return {Outcome::Failed, {}, "-"}; }
    Answer answer;
    std::vector<std::string> asked;
};

TEST_F(MainWindowSend, SmtpPasswordIsAskedOfTheStoreOnlyForALoginAndOnlyAFoundOneIsGiven)
{
    start(ScriptedServer::closedPort());
    auto owned = std::make_unique<AnsweringStore>();
    AnsweringStore& store = *owned;
    program->windows.secrets = std::move(owned);
    TSettings& settings = program->session.settings;
    settings.SMTPServer = "mail.example.test";
    struct Case
    {
        const char* user;
        SecretStore::Outcome outcome;
        const char* expected;
        bool asked;
    };
    const Case cases[] = {
        {"", SecretStore::Outcome::Done, "", false},
        {"oper", SecretStore::Outcome::Done, "pw", true},
        {"oper", SecretStore::Outcome::NotFound, "", true},
        {"oper", SecretStore::Outcome::TimedOut, "", true},
        {"oper", SecretStore::Outcome::NoStore, "", true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.user) + " " + std::to_string(static_cast<int>(c.outcome)));
        settings.SMTPUser = c.user;
        store.asked.clear();
        store.answer = {c.outcome, c.outcome == SecretStore::Outcome::Done ? "pw" : "", "why"};
        EXPECT_EQ(w->SmtpPassword(), c.expected);
        EXPECT_EQ(store.asked, c.asked ? std::vector<std::string>{SmtpSecretKey("mail.example.test", "oper")}
                                       : std::vector<std::string>{});
    }
}

} // namespace
} // namespace zolbin
