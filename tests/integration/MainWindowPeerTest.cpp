// SPDX-License-Identifier: GPL-3.0-or-later
// A whole send from the main window, offscreen, to each real peer: the subscriber ticked in lbAbonent,
// the text typed in RichEdit, btnSend clicked; then what the peer received, the journal and the archive.

#include "app/MainWindow.h"
#include "app/Windows.h"
#include "platform/Net.h"
#include "tests/gui/MainWindowTestSupport.h"
#include "tests/integration/PeerSendTest.h"

#include <QLabel>
#include <QToolButton>
#include <filesystem>

using namespace zolbin;
using namespace zolbin::test;
using ::testing::ElementsAre;
using ::testing::StartsWith;

namespace {

class MainWindowPeerTest : public ::testing::Test
{
protected:
    static void SetUpTestSuite() { ensureApplication(); }
    void SetUp() override
    {
        for (const char* name : {"1251-koi.cod", "1251-866.cod"})
            std::filesystem::copy_file(std::filesystem::path(ZOLBIN_SOURCE_DIR) / "data" / name,
                                       std::filesystem::path(dir.path()) / name);
        dir.write("Zolbin.ini", W("[Sender]\r\nEMail=op@example.org\r\nSMTPServer=127.0.0.1\r\n"
                                  "Name=Иван Петров\r\nShortName=Оператор\r\n"
                                  "[Setting]\r\nNoSplash=1\r\nHideFrom=1\r\n"));
    }
    void TearDown() override { program.reset(); }

    // One subscriber of one company, then the windows; the subscriber ticked and the text typed.
    void start(const TAbonent& abonent, const TProvider& provider, const char* utf8Text)
    {
        writeDirectory(dir.folder(), {abonent}, {}, {HomeProviderDefaults(), provider});
        program = std::make_unique<test::Program>(dir.folder());
        w = &program->main();
        SendDeadlines deadlines;
        deadlines.net.connectMs = 5000;
        deadlines.net.replyMs = 5000;
        w->sends().setDeadlines(deadlines);
        ASSERT_TRUE(showActive(w));
        toggleTick(test::control<TickList>(w, "lbAbonent"), 0);
        typeText(test::control<MessageEditor>(w, "RichEdit"), QString::fromUtf8(utf8Text));
    }

    TempDataDir dir;
    PromptRecorder prompts;
    FixedClock clock{QDateTime(QDate(2026, 12, 7), QTime(9, 30))};
    std::unique_ptr<test::Program> program;
    TfmSend* w = nullptr;
};

} // namespace

TEST_F(MainWindowPeerTest, SendButtonPagesAnSnppSubscriberInKoi8r)
{
    SnppPeer snpp;
    RequirePeer(snpp);
    if (IsSkipped() || HasFatalFailure())
        return;
    TProvider beeper = company("Beeper", Gate::SNPP, snpp.port());
    beeper.SNPPEnc = "KOI8-R";
    start(subscriber("Иванов", 1234567, 240, "Beeper"), beeper, "Привет мир");

    QTest::mouseClick(test::control<QToolButton>(w, "btnSend"), Qt::LeftButton);
    ASSERT_TRUE(test::waitForSends(w));

    EXPECT_TRUE(prompts.requests().empty());
    EXPECT_THAT(snpp.receivedLines(),
                ElementsAre("PAGE 1234567\r\n", "MESS " + Koi8("Привет мир. Оператор ") + "\r\n", "SEND\r\n",
                            "QUIT\r\n"));
    EXPECT_THAT(JournalLines(dir.folder()),
                ElementsAre("Инициализация...", "Соединение с сервером...", "Попытка 1...",
                            "220 SNPP Gateway Ready", "Посылка: PAGE 1234567", "Ответ: 250 Pager ID Accepted",
                            "Посылка: MESS ***", "Ответ: 250 Message OK", "Посылка: SEND",
                            "Ответ: 250 Message Sent Successfully", "Посылка: QUIT", "Ответ: 221 OK, Goodbye",
                            "Сообщение успешно отправлено", ""));
    EXPECT_EQ(dir.read("Log/Иванов.log"), W("Beeper, 07.12.2026 09:30\r\nПривет мир\r\n\r\n"));
    auto* StatusText = test::control<QLabel>(w, "StatusText");
    EXPECT_TRUE(QTest::qWaitFor([&] { return StatusText->text().isEmpty(); }, 5000)); // its two seconds
    EXPECT_EQ(StatusText->text(), QString());
    EXPECT_TRUE(test::control<QToolButton>(w, "btnSend")->isEnabled());
}

TEST_F(MainWindowPeerTest, SendButtonMailsAnSmtpSubscriberThroughTheRelay)
{
    SmtpPeer relay;
    RequirePeer(relay);
    if (IsSkipped() || HasFatalFailure())
        return;
    TProvider mail = company("Mail", Gate::SMTP, relay.port());
    mail.SMTPEMail = "@gw.example";
    mail.SMTPEnc = "KOI8-R";
    start(subscriber("Петров", 7654321, 240, "Mail"), mail, "Сбор в 9:00");

    QTest::mouseClick(test::control<QToolButton>(w, "btnSend"), Qt::LeftButton);
    ASSERT_TRUE(test::waitForSends(w));

    EXPECT_TRUE(prompts.requests().empty());
    const auto mails = relay.mails();
    ASSERT_EQ(mails.size(), 1u);
    EXPECT_EQ(mails[0].from, "op@example.org");
    EXPECT_THAT(mails[0].to, ElementsAre("7654321@gw.example"));
    EXPECT_EQ(mails[0].data, "X-Mailer: Zolbin Sender 2.0.1 127.0.0.1\r\n"
                             "Content-Type: text/plain; charset=koi8-r\r\n"
                             "Subject:  ^^^\r\n"
                             "From: \"" +
                                 Koi8("Иван Петров") +
                                 "\" <op@example.org>\r\n"
                                 "To: 7654321@gw.example\r\n"
                                 "\r\n" +
                                 Koi8("Сбор в 9:00. Оператор") + "\r\n");
    EXPECT_THAT(JournalLines(dir.folder()),
                ElementsAre("Инициализация...", "Соединение с сервером...", "Попытка 1...",
                            StartsWith("220 "), "Посылка: HELO 127.0.0.1", StartsWith("Ответ: 250"),
                            "Посылка: MAIL FROM: op@example.org", StartsWith("Ответ: 250"),
                            "Посылка: RCPT TO: 7654321@gw.example", StartsWith("Ответ: 250"), "Посылка: DATA",
                            StartsWith("Ответ: 354"), "Ответ: 250 Message accepted", "Посылка: QUIT",
                            StartsWith("Ответ: 221"), "Сообщение успешно отправлено", ""));
    EXPECT_EQ(dir.read("Log/Петров.log"), W("Mail, 07.12.2026 09:30\r\nСбор в 9:00\r\n\r\n"));
}
