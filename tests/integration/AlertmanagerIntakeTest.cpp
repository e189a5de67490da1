// SPDX-License-Identifier: GPL-3.0-or-later
// A real Prometheus Alertmanager (Debian's prometheus-alertmanager), its webhook receiver pointing at the
// HTTPS intake of a running `zolbin-send --work-outbox --follow` (section "Intake": HTTP, TokenFile,
// CertFile, KeyFile) with a bearer token and the test CA: an alert posted to its API becomes a page
// "[FIRING:1] …" at the company's SNPP server (Net::SNPP::Server), and its resolution a second page
// "[RESOLVED] …", each journaled as taken in.
#include "../support/HttpCall.h"
#include "../support/TempDir.h"
#include "directory/Settings.h"
#include "platform/ProfileFile.h"
#include "records/Journal.h"
#include "tests/cli/CliTestSupport.h"
#include "tests/support/Polling.h"
#include "tests/support/peers/Peers.h"
#include "tests/support/peers/TestCertificates.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QFile>
#include <QProcess>
#include <QTcpServer>
#include <QTcpSocket>
#include <algorithm>
#include <chrono>
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <thread>

using namespace zolbin;
using namespace zolbin::test;

namespace {

const QString Alertmanager = QStringLiteral("/usr/bin/prometheus-alertmanager");

std::uint16_t freePort()
{
    QTcpServer probe;
    probe.listen(QHostAddress::LocalHost, 0);
    return probe.serverPort();
}

// A process killed when the test ends, however it ends.
struct Stopped
{
    QProcess& p;
    ~Stopped()
    {
        p.kill();
        p.waitForFinished(5000);
    }
};

// The page lines ("MESS …") the company's server received, without the line end (the sender's signature
// may follow the text).
std::vector<std::string> messages(const SnppPeer& snpp)
{
    std::vector<std::string> found;
    for (const std::string& line : snpp.receivedLines())
        if (line.rfind("MESS ", 0) == 0)
            found.push_back(line.substr(5, line.size() - 7));
    return found;
}

std::string alert(const QDateTime& startsAt, const QDateTime& endsAt)
{
    return QStringLiteral(R"([{"labels": {"alertname": "PumpStopped", "instance": "pump-3"},
        "annotations": {"summary": "Pump 3 stopped"}, "startsAt": "%1", "endsAt": "%2"}])")
        .arg(startsAt.toString(Qt::ISODate), endsAt.toString(Qt::ISODate))
        .toStdString();
}

TEST(AlertmanagerIntake, AlertAndItsResolutionArePagedThroughTheWebhook)
{
    if (!QFile::exists(Alertmanager))
        GTEST_SKIP() << "prometheus-alertmanager is not installed";
    SnppPeer snpp;
    if (snpp.state() != PeerProcess::State::Ready)
        GTEST_SKIP() << "Net::SNPP::Server not available: " << snpp.problem();
    int argc = 1;
    char name[] = "alertmanager_intake_tests";
    char* argv[] = {name, nullptr};
    QCoreApplication app(argc, argv);

    const TestCertificates certificates;
    ASSERT_TRUE(certificates.made);
    const TempDataDir data;
    CopyCodeTables(data.path());
    WriteSettings(data.path());
    data.write("tokens", "am-token-5f2c alertmanager\n");
    ::chmod(data.file("tokens").c_str(), 0600);
    const std::uint16_t intake = freePort();
    ProfileFile settings(data.file(SettingsFileName));
    for (const auto& [key, value] :
         std::map<std::string, std::string>{{"HTTP", "127.0.0.1:" + std::to_string(intake)},
                                            {"TokenFile", data.file("tokens")},
                                            {"CertFile", certificates.folder.file("good.pem")},
                                            {"KeyFile", certificates.folder.file("good.key")}})
        ASSERT_TRUE(settings.writeString(SectionIntake, key, value));
    DirectoryFiles files;
    files.company("Beeper", Gate::SNPP, snpp.port());
    files.group("Duty", {files.subscriber("Ivanov", 1234567, "Beeper")});
    files.write(data.path());
    QProcess worker;
    worker.start(QStringLiteral(ZOLBIN_SEND_EXECUTABLE),
                 {QStringLiteral("--data-dir"), QString::fromStdString(data.path()),
                  QStringLiteral("--work-outbox"), QStringLiteral("--follow")});
    const Stopped stopWorker{worker};
    ASSERT_TRUE(worker.waitForStarted(10000));
    // The HTTPS port listening: the service is up.
    ASSERT_TRUE(waitFor(
        [intake] {
            QTcpSocket probe;
            probe.connectToHost(QHostAddress::LocalHost, intake);
            return probe.waitForConnected(1000);
        },
        15000))
        << worker.readAllStandardError().toStdString();

    const TempDataDir dir;
    dir.write("alertmanager.yml", "route:\n  receiver: pager\n  group_wait: 1s\n  group_interval: 1s\n"
                                  "  repeat_interval: 1h\nreceivers:\n  - name: pager\n    webhook_configs:\n"
                                  "      - url: https://127.0.0.1:" +
                                      std::to_string(intake) +
                                      "/v1/alertmanager?to=Duty\n        send_resolved: true\n"
                                      "        http_config:\n          authorization:\n"
                                      "            credentials: am-token-5f2c\n"
                                      "          tls_config:\n            ca_file: " +
                                      certificates.ca() + "\n");
    const std::uint16_t web = freePort();
    QProcess am;
    am.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    am.start(Alertmanager,
             {QStringLiteral("--config.file=") + QString::fromStdString(dir.file("alertmanager.yml")),
              QStringLiteral("--storage.path=") + QString::fromStdString(dir.path()),
              QStringLiteral("--web.listen-address=127.0.0.1:%1").arg(web),
              QStringLiteral("--cluster.listen-address=")});
    const Stopped stopAm{am};
    ASSERT_TRUE(am.waitForStarted(5000));
    const auto ready = [web] { return HttpCall(web, HttpRequestText("GET", "/-/ready", {})).status == 200; };
    ASSERT_TRUE(waitFor(ready, 15000)) << "Alertmanager did not come up";

    const auto postAlert = [web](const std::string& body) {
        return HttpCall(web,
                        HttpRequestText("POST", "/api/v2/alerts", body, {"Content-Type: application/json"}));
    };
    const QDateTime started = QDateTime::currentDateTimeUtc().addSecs(-60);
    ASSERT_EQ(postAlert(alert(started, started.addSecs(3600))).status, 200);
    ASSERT_TRUE(waitFor([&] { return !messages(snpp).empty(); }, 30000))
        << "no page of the firing alert: " << worker.readAllStandardError().toStdString();
    EXPECT_THAT(messages(snpp).at(0),
                ::testing::StartsWith("[FIRING:1] PumpStopped: Pump 3 stopped - pump-3"));

    ASSERT_EQ(postAlert(alert(started, QDateTime::currentDateTimeUtc().addSecs(-1))).status, 200);
    ASSERT_TRUE(waitFor([&] { return messages(snpp).size() >= 2; }, 30000)) << "no page of the resolution";
    EXPECT_THAT(messages(snpp).at(1),
                ::testing::StartsWith("[RESOLVED] PumpStopped: Pump 3 stopped - pump-3"));
    EXPECT_EQ(messages(snpp).size(), 2u) << ::testing::PrintToString(snpp.receivedLines());
    EXPECT_THAT(Utf8Lines(data.read(JournalFileName)),
                ::testing::Contains("Принято по HTTP от 127.0.0.1 (alertmanager): группа «Duty»"));
}

} // namespace
