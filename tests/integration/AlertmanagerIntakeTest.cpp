// SPDX-License-Identifier: GPL-3.0-or-later
// A real Prometheus Alertmanager (Debian's prometheus-alertmanager), its webhook receiver pointing at the
// HTTPS intake on 127.0.0.1 with a bearer token and the test CA: an alert posted to its API becomes a page
// "[FIRING:1] …", and its resolution a second page "[RESOLVED] …".
#include "../support/HttpCall.h"
#include "../support/TempDir.h"
#include "intake/HttpIntake.h"
#include "tests/support/peers/TestCertificates.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QFile>
#include <QProcess>
#include <QTcpServer>
#include <gtest/gtest.h>

using namespace zolbin;
using namespace zolbin::test;

namespace {

const QString Alertmanager = QStringLiteral("/usr/bin/prometheus-alertmanager");

struct RecordingSink : PageSink
{
    std::vector<IncomingPage> pages;
    SinkAnswer store(const IncomingPage& page) override
    {
        pages.push_back(page);
        return SinkAnswer{SinkAnswer::Kind::Stored, {}, {std::to_string(pages.size())}, false};
    }
};

std::uint16_t freePort()
{
    QTcpServer probe;
    probe.listen(QHostAddress::LocalHost, 0);
    return probe.serverPort();
}

// Serves the event loop until the condition holds or the time is up.
bool serveUntil(const std::function<bool()>& condition, int ms)
{
    QEventLoop loop;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, &loop, [&] {
        if (condition())
            loop.quit();
    });
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    poll.start(20);
    if (!condition())
        loop.exec();
    return condition();
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
    int argc = 1;
    char name[] = "alertmanager_intake_tests";
    char* argv[] = {name, nullptr};
    QCoreApplication app(argc, argv);

    TAbonentList subscribers;
    auto ivanov = std::make_shared<TAbonent>();
    ivanov->Name = "Ivanov";
    ivanov->MsgLen = 240;
    subscribers.Add(ivanov);
    TGroupList groups;
    auto duty = std::make_shared<TGroup>();
    duty->Name = "Duty";
    duty->Members.Add(ivanov);
    groups.Add(duty);
    const ListPagerDirectory directory(subscribers, groups);
    RecordingSink sink;
    HttpIntakeOptions options;
    options.tokens = {{"am-token-5f2c", {}}};
    const TestCertificates certificates;
    ASSERT_TRUE(certificates.made);
    options.certFile = certificates.folder.file("good.pem");
    options.keyFile = certificates.folder.file("good.key");
    HttpIntake intake(directory, sink, std::move(options));
    ASSERT_TRUE(intake.listen("127.0.0.1", 0).ok());

    const TempDataDir dir;
    dir.write("alertmanager.yml", "route:\n  receiver: pager\n  group_wait: 1s\n  group_interval: 1s\n"
                                  "  repeat_interval: 1h\nreceivers:\n  - name: pager\n    webhook_configs:\n"
                                  "      - url: https://127.0.0.1:" +
                                      std::to_string(intake.port()) +
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
    struct Stop
    {
        QProcess& p;
        ~Stop()
        {
            p.kill();
            p.waitForFinished(5000);
        }
    } stop{am};
    ASSERT_TRUE(am.waitForStarted(5000));
    const auto ready = [web] { return HttpCall(web, HttpRequestText("GET", "/-/ready", {})).status == 200; };
    ASSERT_TRUE(serveUntil(ready, 15000)) << "Alertmanager did not come up";

    const auto postAlert = [web](const std::string& body) {
        return ServingWhile([&] {
            return HttpCall(
                web, HttpRequestText("POST", "/api/v2/alerts", body, {"Content-Type: application/json"}));
        });
    };
    const QDateTime started = QDateTime::currentDateTimeUtc().addSecs(-60);
    ASSERT_EQ(postAlert(alert(started, started.addSecs(3600))).status, 200);
    ASSERT_TRUE(serveUntil([&] { return !sink.pages.empty(); }, 30000)) << "no page of the firing alert";
    EXPECT_EQ(sink.pages[0].text, "[FIRING:1] PumpStopped: Pump 3 stopped - pump-3");
    EXPECT_EQ(sink.pages[0].recipients.at(0).name, "Duty");
    EXPECT_EQ(sink.pages[0].login, "alertmanager");
    EXPECT_EQ(sink.pages[0].via, "HTTP");

    ASSERT_EQ(postAlert(alert(started, QDateTime::currentDateTimeUtc().addSecs(-1))).status, 200);
    ASSERT_TRUE(serveUntil([&] { return sink.pages.size() >= 2; }, 30000)) << "no page of the resolution";
    EXPECT_EQ(sink.pages[1].text, "[RESOLVED] PumpStopped: Pump 3 stopped - pump-3");
    EXPECT_EQ(sink.pages.size(), 2u);
}

} // namespace
