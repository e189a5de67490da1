// SPDX-License-Identifier: GPL-3.0-or-later
// Whole sends through aiosmtpd as the operator's relay: the envelope, the header and body bytes the relay
// stored, the journal and the archive.

#include "tests/integration/PeerSendTest.h"

using namespace zolbin;
using namespace zolbin::test;
using ::testing::ElementsAre;
using ::testing::StartsWith;

namespace {

class SmtpSendTest : public PeerSendTest
{
protected:
    void SetUp() override
    {
        PeerSendTest::SetUp();
        RequirePeer(relay);
    }

    SmtpPeer relay;
};

} // namespace

TEST_F(SmtpSendTest, GatewayDomainTakesTheNumberAndTheMailCarriesNameSignatureAndHiddenSender)
{
    addCompany("Mail", Gate::SMTP, relay.port()); // gateway "@gw.example", KOI8-R
    choose(subscriber(W("Петров"), 1234567, "Mail"));
    host.settings.Name = W("Иван Петров");
    host.settings.ShortName = W("Иван");
    host.settings.HideFrom = 1;
    // An empty line between paragraphs and a line of one point.
    host.lines = {W("Привет!"), "", ".", W("Встреча в 10.")};

    EXPECT_EQ(send(), SendOutcome::Completed);

    const auto mails = relay.mails();
    ASSERT_EQ(mails.size(), 1u);
    EXPECT_EQ(mails[0].from, "op@example.org");
    EXPECT_THAT(mails[0].to, ElementsAre("1234567@gw.example"));
    // The relay undid the doubled point; the empty line was never sent.
    EXPECT_EQ(mails[0].data, "X-Mailer: Zolbin Sender 2.0.1 127.0.0.1\r\n"
                             "Content-Type: text/plain; charset=koi8-r\r\n"
                             "Subject:  ^^^\r\n"
                             "From: \"" +
                                 Koi8("Иван Петров") +
                                 "\" <op@example.org>\r\n"
                                 "To: 1234567@gw.example\r\n"
                                 "\r\n" +
                                 Koi8("Привет!") + "\r\n.\r\n" + Koi8("Встреча в 10. Иван") + "\r\n");
    // Envelope commands and their replies are journaled; header and body lines are not.
    EXPECT_THAT(JournalLines(dir.folder()),
                ElementsAre("Инициализация...", "Соединение с сервером...", "Попытка 1...",
                            StartsWith("220 "), "Посылка: HELO 127.0.0.1", StartsWith("Ответ: 250"),
                            "Посылка: MAIL FROM: op@example.org", StartsWith("Ответ: 250"),
                            "Посылка: RCPT TO: 1234567@gw.example", StartsWith("Ответ: 250"), "Посылка: DATA",
                            StartsWith("Ответ: 354"), "Ответ: 250 Message accepted", "Посылка: QUIT",
                            StartsWith("Ответ: 221"), "Сообщение успешно отправлено", ""));
    EXPECT_EQ(archiveOf("Петров"), W("Mail, 07.12.2026 09:30\r\nПривет!\r\n\r\n.\r\nВстреча в 10.\r\n\r\n"));
    EXPECT_EQ(host.completed, 1);
}

TEST_F(SmtpSendTest, WrittenOutAddressPutsNumberDeferralAndRepeatsInTheSubjectOfOneMail)
{
    TProvider& mail = addCompany("Mail", Gate::SMTP, relay.port(), "DOS");
    mail.SMTPEMail = "pager@gw.example";
    choose(subscriber(W("Сидоров"), 7654321, "Mail"));
    params.DeferDate = "31.12.2026";
    params.DeferTime = "23:59";
    params.RepeatCount = 2;
    params.RepeatInterval = "01:30";
    host.lines = {W("Сбор в 9:00")};

    EXPECT_EQ(send(), SendOutcome::Completed);

    // One mail whatever the repeats; no "From: " line without a sender name.
    const auto mails = relay.mails();
    ASSERT_EQ(mails.size(), 1u);
    EXPECT_THAT(mails[0].to, ElementsAre("pager@gw.example"));
    EXPECT_EQ(mails[0].data, "X-Mailer: Zolbin Sender 2.0.1 127.0.0.1\r\n"
                             "Content-Type: text/plain; charset=cp866\r\n"
                             "Subject: 7654321 31/12/2026 23:59 2*90\r\n"
                             "To: pager@gw.example\r\n"
                             "\r\n" +
                                 Cp866("Сбор в 9:00") + "\r\n");
    const auto journal = JournalLines(dir.folder());
    EXPECT_EQ(std::count(journal.begin(), journal.end(), "Соединение с сервером..."), 1);
    EXPECT_EQ(std::count(journal.begin(), journal.end(), "Сообщение успешно отправлено"), 1);
    EXPECT_EQ(archiveOf("Сидоров"), W("Mail, 07.12.2026 09:30\r\nOтложено - 31.12.2026 23:59 Повторы - 2 * "
                                      "01:30\r\nСбор в 9:00\r\n\r\n"));
}
