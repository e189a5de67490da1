// SPDX-License-Identifier: GPL-3.0-or-later
// Whole sends through aiosmtpd with TLS and a login: STARTTLS and TLS from the first byte, AUTH PLAIN and
// AUTH LOGIN, and the refusals (certificate not trusted or for another name, no STARTTLS, wrong password,
// a handshake that stalls). The certificate authority and the server certificates are made at run time
// with the openssl command in a temporary folder.

#include "tests/integration/PeerSendTest.h"
#include "tests/support/peers/TestCertificates.h"

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

using namespace zolbin;
using namespace zolbin::test;
using ::testing::Contains;
using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::Not;
using ::testing::StartsWith;

namespace {

class SmtpTlsTest : public PeerSendTest
{
protected:
    void SetUp() override
    {
        PeerSendTest::SetUp();
        ASSERT_TRUE(certificates.made) << "the openssl command could not make the test certificates";
        host.settings.SMTPServer = "localhost";
        host.settings.SMTPCAFile = certificates.ca();
        host.lines = {W("Привет!")};
    }

    // Starts the relay with the options (the "good" certificate unless told otherwise).
    void startRelay(std::vector<std::string> options, const std::string& certificate = "good")
    {
        std::vector<std::string> all =
            certificate.empty() ? std::vector<std::string>{} : certificates.serverOptions(certificate);
        all.insert(all.end(), options.begin(), options.end());
        relay = std::make_unique<SmtpPeer>(all);
        RequirePeer(*relay);
        addCompany("Mail", Gate::SMTP, relay->port());
        choose(subscriber(W("Петров"), 1234567, "Mail"));
    }

    void login()
    {
        host.settings.SMTPUser = "op";
        host.smtpPassword = "s3cret!";
    }

    static std::vector<std::string> withLogin(std::vector<std::string> options)
    {
        options.insert(options.end(), {"--user", "op", "--password", "s3cret!"});
        return options;
    }

    TestCertificates certificates;
    std::unique_ptr<SmtpPeer> relay;
};

const char* const PlainMail = "X-Mailer: Zolbin Sender 2.0.1 127.0.0.1\r\n"
                              "Content-Type: text/plain; charset=koi8-r\r\n"
                              "Subject: \r\n"
                              "To: 1234567@gw.example\r\n"
                              "\r\n";

} // namespace

TEST_F(SmtpTlsTest, StartTlsAndAuthPlainSendTodaysMailAndJournalNoCredentials)
{
    startRelay(withLogin({"--require-starttls"}));
    host.settings.SMTPSecurity = 1;
    login();

    EXPECT_EQ(send(), SendOutcome::Completed);

    const auto mails = relay->mails();
    ASSERT_EQ(mails.size(), 1u);
    EXPECT_EQ(mails[0].from, "op@example.org");
    EXPECT_EQ(mails[0].data, PlainMail + Koi8("Привет!") + "\r\n");
    EXPECT_THAT(relay->events(), Contains("auth PLAIN accepted"));
    // The commands as journaled (the multi-line EHLO replies take several journal lines), then the outcome.
    const auto journal = JournalLines(dir.folder());
    std::vector<std::string> commands;
    for (const std::string& line : journal)
        if (line.rfind("Посылка: ", 0) == 0)
            commands.push_back(line);
    EXPECT_THAT(commands,
                ElementsAre("Посылка: EHLO localhost", "Посылка: STARTTLS", "Посылка: EHLO localhost",
                            "Посылка: AUTH PLAIN ***", "Посылка: MAIL FROM: op@example.org",
                            "Посылка: RCPT TO: 1234567@gw.example", "Посылка: DATA", "Посылка: QUIT"));
    EXPECT_THAT(journal, Contains("Ответ: 220 Ready to start TLS"));
    EXPECT_THAT(journal, Contains("Ответ: 235 2.7.0 Authentication successful"));
    EXPECT_THAT(journal, Contains("250-AUTH LOGIN PLAIN")); // offered only after STARTTLS, read whole
    ASSERT_GE(journal.size(), 2u);
    EXPECT_EQ(journal.end()[-2], "Сообщение успешно отправлено");
    EXPECT_EQ(host.completed, 1);
}

TEST_F(SmtpTlsTest, TlsFromTheFirstByteToAnAddressWithAuthLoginWhenOnlyLoginIsOffered)
{
    startRelay(withLogin({"--implicit-tls", "--login-only"}));
    host.settings.SMTPServer = "127.0.0.1"; // the certificate names the address too
    host.settings.SMTPSecurity = 2;
    login();

    EXPECT_EQ(send(), SendOutcome::Completed);

    const auto mails = relay->mails();
    ASSERT_EQ(mails.size(), 1u);
    EXPECT_EQ(mails[0].data, PlainMail + Koi8("Привет!") + "\r\n");
    EXPECT_THAT(relay->events(), Contains("auth LOGIN accepted"));
    const auto journal = JournalLines(dir.folder());
    EXPECT_THAT(journal, Contains("Посылка: EHLO 127.0.0.1"));
    EXPECT_THAT(journal, Not(Contains("Посылка: STARTTLS")));
    EXPECT_EQ(std::count(journal.begin(), journal.end(), "Посылка: AUTH LOGIN ***"), 1);
    EXPECT_EQ(std::count(journal.begin(), journal.end(), "Посылка: ***"), 2);
    EXPECT_THAT(journal, Contains("Сообщение успешно отправлено"));
}

// Every refusal ends the subscriber's sending with "Ошибка: …" before any mail command, and the password
// never reaches the journal (neither as it is nor in base64).
struct Refusal
{
    const char* name;
    std::vector<std::string> relayOptions;
    const char* certificate; // "" for a relay without TLS
    std::uint8_t security;
    bool trustPrivateCa;
    const char* wrongPassword; // empty: the right one
    const char* expectedJournalLine;
};

class SmtpTlsRefusalTest : public SmtpTlsTest, public ::testing::WithParamInterface<Refusal>
{
};

TEST_P(SmtpTlsRefusalTest, EndsTheSubscriberWithTheReasonAndNothingSent)
{
    const Refusal& r = GetParam();
    startRelay(withLogin(r.relayOptions), r.certificate);
    host.settings.SMTPSecurity = r.security;
    if (!r.trustPrivateCa)
        host.settings.SMTPCAFile.clear();
    login();
    if (*r.wrongPassword != '\0')
        host.smtpPassword = r.wrongPassword;

    EXPECT_EQ(send(), SendOutcome::Stopped);

    EXPECT_TRUE(relay->mails().empty());
    const auto journal = JournalLines(dir.folder());
    EXPECT_THAT(journal, Contains(StartsWith(r.expectedJournalLine)));
    EXPECT_THAT(journal, Not(Contains(HasSubstr("MAIL FROM"))));
    const std::string raw = dir.read("Zolbin.log");
    // "AG9w" begins the base64 of any AUTH PLAIN token for the login "op".
    for (const std::string& secret :
         {std::string("s3cret"), std::string("czNjcmV0"), std::string("AG9w"), std::string(r.wrongPassword)})
        if (!secret.empty()) {
            EXPECT_THAT(raw, Not(HasSubstr(secret)));
        }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, SmtpTlsRefusalTest,
    ::testing::Values(
        Refusal{"UnknownCa",
                {"--require-starttls"},
                "good",
                1,
                false,
                "",
                "Ошибка: Сертификат сервера не подтверждён: unable to get local issuer certificate"},
        Refusal{"CertificateForAnotherName",
                {"--implicit-tls"},
                "other",
                2,
                true,
                "",
                "Ошибка: Сертификат сервера не подтверждён: hostname mismatch"},
        Refusal{"Expired",
                {"--require-starttls"},
                "expired",
                1,
                true,
                "",
                "Ошибка: Сертификат сервера не подтверждён: certificate has expired"},
        Refusal{
            "LoginWithoutTls", {}, "", 0, true, "", "Ошибка: вход на почтовый сервер без TLS не выполняется"},
        Refusal{"NoStartTlsOffered", {}, "", 1, true, "", "Ошибка: сервер не предлагает STARTTLS"},
        Refusal{"WrongPassword", {"--require-starttls"}, "good", 1, true, "wrong-pass", "Ошибка: 535"},
        // A login is complete only on 235, whatever number of challenges the relay sends.
        Refusal{"ChallengesForeverToPlain",
                {"--require-starttls", "--challenge-everything"},
                "good",
                1,
                true,
                "",
                "Ошибка: 334"},
        Refusal{"ChallengesForeverToLogin",
                {"--implicit-tls", "--login-only", "--challenge-everything"},
                "good",
                2,
                true,
                "",
                "Ошибка: 334"}),
    [](const ::testing::TestParamInfo<Refusal>& c) { return std::string(c.param.name); });

TEST_F(SmtpTlsTest, HandshakeWithAServerThatNeverAnswersEndsAtTheDeadline)
{
    // A listener that never accepts: the kernel completes the connection, nobody ever speaks.
    const int listener = ::socket(AF_INET, SOCK_STREAM, 0);
    ASSERT_GE(listener, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    ASSERT_EQ(::bind(listener, reinterpret_cast<sockaddr*>(&address), length), 0);
    ASSERT_EQ(::listen(listener, 4), 0);
    ASSERT_EQ(::getsockname(listener, reinterpret_cast<sockaddr*>(&address), &length), 0);
    addCompany("Mail", Gate::SMTP, ntohs(address.sin_port));
    choose(subscriber(W("Петров"), 1234567, "Mail"));
    host.settings.SMTPSecurity = 2;
    host.Deadlines.net.connectMs = 1000;

    const auto started = std::chrono::steady_clock::now();
    EXPECT_EQ(send(), SendOutcome::Stopped);
    const auto took = std::chrono::steady_clock::now() - started;
    ::close(listener);

    EXPECT_GE(took, std::chrono::milliseconds(900));
    EXPECT_LT(took, std::chrono::milliseconds(4000));
    const auto journal = JournalLines(dir.folder());
    EXPECT_THAT(journal, Contains("Ошибка: Время ожидания истекло."));
    EXPECT_EQ(std::count(journal.begin(), journal.end(), "Попытка 1..."), 1);
}
