// SPDX-License-Identifier: GPL-3.0-or-later
// Pages to a WCTP carrier of our own on loopback, over HTTP and HTTPS: each answer's outcome, what the
// carrier receives, and what the journal keeps.

#include "directory/WctpFields.h"
#include "dispatch/Wctp.h"
#include "tests/support/WctpServer.h"
#include "tests/support/peers/TestCertificates.h"
#include "tests/unit/dispatch/SendCommandFixture.h"

#include <QCoreApplication>
#include <algorithm>

namespace zolbin::test {

namespace {

// Qt's network thread runs an event loop, which wants an application object.
class ApplicationEnvironment final : public ::testing::Environment
{
public:
    void SetUp() override
    {
        static int argc = 1;
        static char name[] = "wctp_tests";
        static char* argv[] = {name, nullptr};
        app_ = std::make_unique<QCoreApplication>(argc, argv);
    }
    void TearDown() override { app_.reset(); }

private:
    std::unique_ptr<QCoreApplication> app_;
};

[[maybe_unused]] ::testing::Environment* const environment =
    ::testing::AddGlobalTestEnvironment(new ApplicationEnvironment);

bool contains(const std::vector<std::string>& lines, const std::string& line)
{
    return std::find(lines.begin(), lines.end(), line) != lines.end();
}

} // namespace

class WctpSendTest : public SendCommandTest
{
protected:
    // The company "Carrier" with the URL (added, or changed when it is there), and "Ann" its subscriber.
    void addWctp(const std::string& url, const std::string& pattern = "#######")
    {
        if (const int index = providers.IndexOfName("Carrier"); index >= 0) {
            StoreWctpFields(*providers.Items(index), {url, "desk-1", "s3cr3t-code", pattern});
        } else {
            TProvider company = LoopbackCompany("Carrier", Gate::WCTP, 0);
            StoreWctpFields(company, {url, "desk-1", "s3cr3t-code", pattern});
            providers.Add(std::make_shared<TProvider>(company));
        }
        chooseSubscriber("Ann", 42, "Carrier");
    }
    std::string url(const WctpServer& server, const char* scheme = "http") const
    {
        return std::string(scheme) + "://127.0.0.1:" + std::to_string(server.port()) + "/wctp";
    }
    WctpOutcome sendOne()
    {
        params.CurProvider = "Carrier";
        return WctpSending(host, *providers.Items(providers.IndexOfName("Carrier")), params, host.lines);
    }
};

TEST_F(WctpSendTest, EachAnswerGivesItsOutcomeAndTheJournalShowsIt)
{
    using S = WctpOutcome::State;
    struct Case
    {
        WctpAnswer answer;
        S state;
        FailureKind kind;
        const char* journaled;
    };
    const Case cases[] = {
        {WctpAnswer::Accepted, S::Accepted, FailureKind::Final, "Ответ: 200 Accepted"},
        {WctpAnswer::BadSender, S::NotAccepted, FailureKind::Final, "Ошибка: Invalid senderID"},
        {WctpAnswer::UnknownRecipient, S::NotAccepted, FailureKind::Final,
         "Ошибка: Unknown recipient & no route"},
        {WctpAnswer::Busy, S::NotAccepted, FailureKind::Passing, "Ответ: 604 Busy, try later"},
        {WctpAnswer::Http500, S::NotAccepted, FailureKind::Passing,
         "Ошибка: Ответ сервера не является документом WCTP: HTTP 500 Internal Server Error"},
        {WctpAnswer::NotWctp, S::NotAccepted, FailureKind::Final, "Ответ: HTTP 200 OK"},
        // Once the request has left, an answer lost, cut off, unclear or too long leaves the page unknown.
        {WctpAnswer::Stall, S::NotAccepted, FailureKind::Unknown, "Ошибка: Сервер WCTP не ответил вовремя"},
        {WctpAnswer::Close, S::NotAccepted, FailureKind::Unknown, "Ошибка: Нет ответа от 127.0.0.1: "},
        {WctpAnswer::Http500Success, S::NotAccepted, FailureKind::Unknown,
         "Ошибка: Ответ сервера WCTP не разобран: HTTP 500 Internal Server Error"},
        {WctpAnswer::SuccessThenBroken, S::NotAccepted, FailureKind::Unknown,
         "Ошибка: Ответ сервера WCTP не разобран: HTTP 200 OK"},
        {WctpAnswer::Oversized, S::NotAccepted, FailureKind::Unknown,
         "Ошибка: Ответ сервера слишком длинный"},
        {WctpAnswer::Endless, S::NotAccepted, FailureKind::Unknown, "Ошибка: Ответ сервера слишком длинный"},
    };
    host.Deadlines.net.replyMs = 700;
    for (const Case& c : cases) {
        const std::size_t before = JournalLines(dir.folder()).size();
        WctpServer server({c.answer});
        addWctp(url(server));
        const WctpOutcome outcome = sendOne();
        const int index = static_cast<int>(c.answer);
        EXPECT_EQ(outcome.state, c.state) << index;
        if (c.state != S::Accepted) {
            EXPECT_EQ(outcome.kind, c.kind) << index;
        }
        const auto lines = JournalLines(dir.folder());
        EXPECT_TRUE(std::any_of(lines.begin() + static_cast<std::ptrdiff_t>(before), lines.end(),
                                [&](const std::string& line) { return line.rfind(c.journaled, 0) == 0; }))
            << index;
        ASSERT_EQ(server.received().size(), 1u) << index;
        EXPECT_EQ(server.received()[0].problem, "") << index;
        // A streaming answer is not read on past its limit: the carrier gets out what the socket buffers
        // hold, not the 100 MiB, and a stream at a network's pace stops at once, not at the deadline.
        EXPECT_LT(server.streamed(), c.answer == WctpAnswer::Endless ? 1u << 20 : 32u << 20) << index;
    }
}

TEST_F(WctpSendTest, ABusyCarrierIsTriedAgainThroughTheOutbox)
{
    struct Case
    {
        WctpAnswer first;
        PageState state;
        int attempts;
    };
    // A post left unanswered is never posted again by itself: the carrier may have the page.
    for (const Case& c :
         {Case{WctpAnswer::Busy, PageState::Sent, 2}, Case{WctpAnswer::Stall, PageState::Unknown, 1}}) {
        WctpServer server({c.first, WctpAnswer::Accepted});
        addWctp(url(server));
        const std::vector<OutboxPage> pages = sendThroughOutbox(10);
        ASSERT_EQ(pages.size(), 1u);
        EXPECT_EQ(pages[0].state, c.state);
        EXPECT_EQ(pages[0].attempts, c.attempts);
        EXPECT_EQ(server.received().size(), static_cast<std::size_t>(c.attempts));
    }
}

TEST_F(WctpSendTest, RefusedConnectionOrATimeOutBeforeThePostLeftIsAPassingFailure)
{
    addWctp("http://127.0.0.1:" + std::to_string(ScriptedServer::closedPort()) + "/wctp");
    const WctpOutcome outcome = sendOne();
    EXPECT_EQ(outcome.state, WctpOutcome::State::NoConnection);
    EXPECT_EQ(outcome.kind, FailureKind::Passing);

    // A server that never answers the TLS handshake: the request never leaves.
    ScriptedReply silence;
    silence.silent = true;
    ScriptedServer mute({ScriptedSession{{}, {silence}}});
    addWctp("https://127.0.0.1:" + std::to_string(mute.port()) + "/wctp");
    host.Deadlines.net.connectMs = 500;
    const WctpOutcome early = sendOne();
    EXPECT_EQ(early.state, WctpOutcome::State::NoConnection);
    EXPECT_EQ(early.kind, FailureKind::Passing);
    EXPECT_EQ(JournalLines(dir.folder()).back(), "Ошибка: Сервер WCTP не ответил вовремя");
}

TEST_F(WctpSendTest, CyrillicDeferredPageWithRepeatsArrivesAsTypedAndTheCodeStaysOutOfTheJournal)
{
    WctpServer server({WctpAnswer::Accepted});
    addWctp(url(server));
    host.lines = {W("Срочно в палату 3"), W("<&> ok")};
    host.settings.ShortName = W("Дежурный");
    params.DeferDate = "31.12.2026";
    params.DeferTime = "23:59";
    params.RepeatCount = 1;
    params.RepeatInterval = "00:15";
    EXPECT_EQ(send(), SendOutcome::Completed);

    const auto received = server.received();
    ASSERT_EQ(received.size(), 2u);
    const auto utc = [](int h, int m) {
        return QDateTime(QDate(2026, 12, 31), QTime(h, m)).toUTC().toString(Qt::ISODate).toStdString();
    };
    for (const WctpRequest& r : received) {
        EXPECT_EQ(r.problem, "");
        EXPECT_EQ(r.method, "POST");
        EXPECT_EQ(r.path, "/wctp");
        EXPECT_EQ(r.contentType.rfind("text/xml", 0), 0u);
        // As the SNPP server gets it: the signature after a full stop.
        EXPECT_EQ(r.values.at("text"), "Срочно в палату 3 <&> ok. Дежурный ");
        EXPECT_EQ(r.values.at("recipientID"), "0000042");
        EXPECT_EQ(r.values.at("securityCode"), "s3cr3t-code");
    }
    EXPECT_EQ(received[0].values.at("deliveryAfter"), utc(23, 59).substr(0, 19));
    EXPECT_NE(received[0].values.at("messageID"), received[1].values.at("messageID"));
    EXPECT_TRUE(received[1].values.count("deliveryAfter") == 1);

    const auto lines = JournalLines(dir.folder());
    EXPECT_TRUE(contains(lines, "Посылка: POST /wctp"));
    EXPECT_EQ(std::count(lines.begin(), lines.end(), "Сообщение успешно отправлено"), 2);
    for (const std::string& line : lines)
        EXPECT_EQ(line.find("s3cr3t"), std::string::npos) << line;
}

TEST_F(WctpSendTest, HttpsIsTrustedThroughTheCaFileOnlyAndATrustedConnectionIsNotKeptForTheNextPage)
{
    TestCertificates certificates;
    ASSERT_TRUE(certificates.made);
    const auto options = certificates.serverOptions("good");
    WctpServer server({WctpAnswer::Accepted}, options[1], options[3]);
    addWctp(url(server, "https"));

    host.settings.SMTPCAFile = certificates.ca();
    EXPECT_EQ(sendOne().state, WctpOutcome::State::Accepted) << ::testing::PrintToString(host.statusesUtf8());
    EXPECT_EQ(server.received().size(), 1u);

    host.settings.SMTPCAFile.clear();
    const WctpOutcome untrusted = sendOne();
    EXPECT_EQ(untrusted.state, WctpOutcome::State::NoConnection);
    EXPECT_EQ(untrusted.kind, FailureKind::Final);
    EXPECT_EQ(server.received().size(), 1u);
}

} // namespace zolbin::test
