// SPDX-License-Identifier: GPL-3.0-or-later
// The built zolbin-send against the real peers (Net::SNPP::Server, aiosmtpd), each run with a time limit.

#include "cli/ExitStatus.h"
#include "directory/Records.h"
#include "directory/Settings.h"
#include "dispatch/Recipient.h"
#include "dispatch/SendCommand.h"
#include "dispatch/ServiceSettings.h"
#include "platform/Net.h"
#include "tests/cli/CliTestSupport.h"
#include "tests/support/FixedClock.h"
#include "tests/support/PromptRecorder.h"
#include "tests/support/RecordingHost.h"
#include "tests/support/ScriptedServer.h"
#include "tests/support/TempDir.h"
#include "tests/support/peers/Peers.h"
#include "tests/support/peers/TestCertificates.h"

#include <QDateTime>
#include <QElapsedTimer>
#include <filesystem>
#include <fstream>
#include <gmock/gmock.h>
#include <gtest/gtest.h>

using namespace zolbin;
using namespace zolbin::test;
using ::testing::ElementsAre;
using ::testing::HasSubstr;

namespace {

template <typename Peer> void requirePeer(const Peer& peer)
{
    if (peer.state() == PeerProcess::State::Unavailable)
        GTEST_SKIP() << "protocol peer not installed (scripts/setup.sh installs it): " << peer.problem();
    ASSERT_EQ(peer.state(), PeerProcess::State::Ready) << peer.problem();
}

class ZolbinSendPeerTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        requirePeer(snpp);
        if (IsSkipped() || HasFatalFailure())
            return;
        requirePeer(relay);
        CopyCodeTables(dir.path());
        WriteSettings(dir.path());
    }

    CliRun run(const std::vector<std::string>& args, const std::string& input = {})
    {
        files.write(dir.path());
        return RunExecutable(args, dir.path(), input);
    }

    TempDataDir dir;
    SnppPeer snpp;
    SmtpPeer relay;
    DirectoryFiles files;
};

} // namespace

TEST_F(ZolbinSendPeerTest, SubscriberPageFromStandardInputArrivesInKoi8r)
{
    files.company("Beeper", Gate::SNPP, snpp.port());
    files.subscriber(W("Иванов"), 1234567, "Beeper");

    const CliRun r = run({"--to", "Иванов"}, "Привет\nмир\n");
    ASSERT_EQ(r.status, ExitStatus::Accepted) << r.err;
    const std::string koi8Message = "\xF0\xD2\xC9\xD7\xC5\xD4 \xCD\xC9\xD2 "; // "Привет мир " in KOI8-R
    EXPECT_THAT(snpp.receivedLines(),
                ElementsAre("PAGE 1234567\r\n", "MESS " + koi8Message + "\r\n", "SEND\r\n", "QUIT\r\n"));
    EXPECT_EQ(Utf8Lines(dir.read(JournalFileName)).back(), "");
    EXPECT_THAT(r.err, HasSubstr("Ответ: 221 OK, Goodbye\nСообщение успешно отправлено\n"));
    EXPECT_THAT(dir.read("Log/Иванов.log"), HasSubstr(W("Привет\r\nмир\r\n\r\n")));
}

TEST_F(ZolbinSendPeerTest, PageIsRecordedWhenNobodyReadsTheProgress)
{
    files.company("Beeper", Gate::SNPP, snpp.port());
    files.subscriber("A", 1, "Beeper");
    files.write(dir.path());

    // A script piping the progress into a reader that quit must not lose the archive of a page sent.
    const CliRun r = RunExecutableIntoClosedPipe({"--to", "A", "Hello"}, dir.path());
    EXPECT_EQ(r.status, ExitStatus::Accepted);
    EXPECT_EQ(snpp.sessions(), 1);
    ASSERT_TRUE(dir.exists("Log/A.log"));
    EXPECT_EQ(dir.read("Log/A.log"), "Beeper, " + dir.read("Log/A.log").substr(8, 16) + "\r\nHello\r\n\r\n");
    EXPECT_EQ(Utf8Lines(dir.read(JournalFileName)).end()[-2], "Сообщение успешно отправлено");
}

TEST_F(ZolbinSendPeerTest, GroupWithAnUnreachableMemberGoesOnOrStops)
{
    files.company("Beeper", Gate::SNPP, snpp.port());
    files.company("Dead", Gate::SNPP, ScriptedServer::closedPort());
    files.company("Mail", Gate::SMTP, relay.port());
    files.group("Team",
                {files.subscriber(W("Аня"), 1111111, "Beeper"), files.subscriber(W("Боря"), 2222222, "Dead"),
                 files.subscriber(W("Вера"), 3333333, "Mail")});

    QElapsedTimer timer;
    timer.start();
    CliRun r = run({"--group", "Team", "Hello"});
    EXPECT_EQ(r.status, ExitStatus::NotAccepted) << r.err;
    EXPECT_GE(timer.elapsed(), 4000); // the display pauses are skipped, those between attempts are not
    EXPECT_EQ(snpp.sessions(), 1);
    ASSERT_EQ(relay.mails().size(), 1u);
    EXPECT_THAT(relay.mails()[0].to, ElementsAre("3333333@gw.example"));
    EXPECT_THAT(r.err,
                HasSubstr("Для абонента Боря сообщение отправить не удалось. Продолжать для остальных?"));

    r = run({"--group", "Team", "--stop-on-error", "Hello"});
    EXPECT_EQ(r.status, ExitStatus::NotAccepted) << r.err;
    EXPECT_EQ(snpp.sessions(), 2);       // Аня again
    EXPECT_EQ(relay.mails().size(), 1u); // Вера not again
}

TEST_F(ZolbinSendPeerTest, UnregisteredNumberIsMailedWithoutAnArchiveEntry)
{
    files.company("Mail", Gate::SMTP, relay.port(), "WIN-1251");

    const CliRun r = run({"--number", "5550001", "--company", "Mail", "--quiet", "Проверка", "связи"});
    ASSERT_EQ(r.status, ExitStatus::Accepted) << r.err;
    EXPECT_TRUE(r.err.empty());
    const auto mails = relay.mails();
    ASSERT_EQ(mails.size(), 1u);
    EXPECT_EQ(mails[0].from, "op@example.org");
    EXPECT_THAT(mails[0].to, ElementsAre("5550001@gw.example"));
    EXPECT_THAT(mails[0].data, HasSubstr(W("\r\n\r\nПроверка связи\r\n")));
    EXPECT_TRUE(dir.exists("Log"));
    EXPECT_FALSE(dir.exists("Log/.log"));
}

// The deferred, repeated page of the built program, and the same page sent by the window's command at
// the same moment: the same lines reach the server, and the journal and archive are identical.
TEST_F(ZolbinSendPeerTest, DeferredRepeatedPageIsTheWindowsPage)
{
    files.company("Beeper", Gate::SNPP, snpp.port(), "WIN-1251");
    const AbonentPtr petrov = files.subscriber(W("Петров"), 7654321, "Beeper");

    const CliRun r = run({"--to", "Петров", "--defer", "31.12.2026 23:59", "--repeat", "2", "--interval",
                          "00:15", "--no-signature", "Тест"});
    ASSERT_EQ(r.status, ExitStatus::Accepted) << r.err;
    const std::vector<std::string> cliLines = snpp.receivedLines();
    EXPECT_EQ(snpp.sessions(), 3);
    EXPECT_THAT(cliLines,
                ElementsAre("HOLD 261231235900\r\n", "PAGE 7654321\r\n", "MESS " + W("Тест ") + "\r\n",
                            "SEND\r\n", "QUIT\r\n", "HOLD 270101001400\r\n", "PAGE 7654321\r\n",
                            "MESS " + W("Тест ") + "\r\n", "SEND\r\n", "QUIT\r\n", "HOLD 270101002900\r\n",
                            "PAGE 7654321\r\n", "MESS " + W("Тест ") + "\r\n", "SEND\r\n", "QUIT\r\n"));
    const std::string archive = dir.read("Log/Петров.log");
    const std::string journal = dir.read(JournalFileName);

    // The window, in a folder of its own, at the moment the command line recorded.
    const QDateTime sent =
        QDateTime::fromString(QString::fromLatin1(archive.substr(8, 16)), QStringLiteral("dd.MM.yyyy hh:mm"));
    ASSERT_TRUE(sent.isValid()) << archive;
    TempDataDir window;
    CopyCodeTables(window.path());
    FixedClock clock(sent);
    RecordingHost host{window.folder()};
    LoadSettings(ProfileFile(dir.path() + "/" + SettingsFileName), host.settings);
    host.lines = {W("Тест")};
    host.signatureBlocked = true;
    TSendParams params;
    ChooseSubscriber(params, *petrov);
    Text summary;
    ASSERT_TRUE(ApplyServiceForm(
        {true, true, "31", MonthTexts()[11].russian(), "2026", "23", "59", "2", "0", "15"}, params, summary));
    PromptRecorder prompts;
    EXPECT_EQ(SendCommand(host, params, -1, files.groups, files.providers).Run(), SendOutcome::Completed);

    const std::vector<std::string> all = snpp.receivedLines();
    ASSERT_EQ(all.size(), 2 * cliLines.size());
    EXPECT_EQ(std::vector<std::string>(all.begin() + static_cast<long>(cliLines.size()), all.end()),
              cliLines);
    EXPECT_EQ(window.read(JournalFileName), journal);
    EXPECT_EQ(window.read("Log/Петров.log"), archive);
}

TEST_F(ZolbinSendPeerTest, ExitStatusesOfTheBuiltProgram)
{
    files.company("Beeper", Gate::SNPP, snpp.port());
    files.subscriber("A", 1, "Beeper", 5);

    // The statuses reach the shell; their every cause is tested in this process.
    CliRun r = run({"--help"});
    EXPECT_EQ(r.status, ExitStatus::Accepted);
    EXPECT_THAT(r.out, HasSubstr("Код завершения"));
    EXPECT_EQ(run({"--to", "A", "too long"}).status, ExitStatus::Usage);
    EXPECT_FALSE(dir.exists(JournalFileName));
    dir.write(CompanyFileName, "short");
    r = RunExecutable({"--to", "A", "Hi"}, dir.path());
    EXPECT_EQ(r.status, ExitStatus::FileError);
    EXPECT_THAT(r.err, HasSubstr("Company.lst"));
    EXPECT_EQ(snpp.sessions(), 0);
}

// The password for the relay's login comes from the file named on the command line; the mail goes after
// STARTTLS, and neither the journal nor the terminal shows the password.
TEST_F(ZolbinSendPeerTest, MailThroughStartTlsWithTheLoginFromThePasswordFile)
{
    TestCertificates certificates;
    ASSERT_TRUE(certificates.made) << "the openssl command could not make the test certificates";
    std::vector<std::string> options = certificates.serverOptions("good");
    options.insert(options.end(), {"--require-starttls", "--user", "op", "--password", "s3cret!"});
    SmtpPeer tls(options);
    requirePeer(tls);
    WriteSettings(dir.path(), {{"SMTPServer", "localhost"},
                               {"SMTPSecurity", "1"},
                               {"SMTPUser", "op"},
                               {"SMTPCAFile", certificates.ca()}});
    files.company("Mail", Gate::SMTP, tls.port());
    files.subscriber(W("Петров"), 1234567, "Mail");
    const std::string passwordFile = dir.path() + "/relay-password";
    std::ofstream(passwordFile) << "s3cret!\n";
    std::filesystem::permissions(passwordFile, std::filesystem::perms::owner_read);

    const CliRun r = run({"--to", "Петров", "--smtp-password-file", passwordFile, "Привет"});
    EXPECT_EQ(r.status, ExitStatus::Accepted) << r.err;
    ASSERT_EQ(tls.mails().size(), 1u);
    EXPECT_THAT(r.err, HasSubstr("Посылка: AUTH PLAIN ***"));
    const std::string journal = dir.read("Zolbin.log");
    EXPECT_EQ(journal.find("s3cret"), std::string::npos);
    EXPECT_EQ(r.err.find("s3cret"), std::string::npos);
}
