// SPDX-License-Identifier: GPL-3.0-or-later
// The HTTP intake on 127.0.0.1 heard from its clients: bad requests refused with their answers and nothing
// stored, a page stored with what came with it and its state read back, and alert notifications paged once.
#include "intake/HttpIntake.h"

#include "../../support/HttpCall.h"
#include "../../support/TempDir.h"
#include "platform/Codepage.h"

#include <QCoreApplication>
#include <QJsonDocument>
#include <QJsonObject>
#include <gtest/gtest.h>
#include <sys/stat.h>

using namespace zolbin;
using namespace zolbin::test;

namespace {

struct RecordingSink : PageSink
{
    SinkAnswer::Kind kind = SinkAnswer::Kind::Stored;
    std::vector<IncomingPage> pages;
    SinkAnswer store(const IncomingPage& page) override
    {
        if (kind != SinkAnswer::Kind::Stored)
            return SinkAnswer{kind, "busy", {}, false};
        pages.push_back(page);
        return SinkAnswer{kind, {}, {"b7-00000" + std::to_string(pages.size())}, false};
    }
};

struct Fixture
{
    Fixture()
    {
        if (QCoreApplication::instance() == nullptr)
            app = std::make_unique<QCoreApplication>(argc, argv);
        auto ivanov = std::make_shared<TAbonent>();
        ivanov->Name = "Ivanov";
        ivanov->Number = 1001;
        ivanov->MsgLen = 60;
        subscribers.Add(ivanov);
        auto duty = std::make_shared<TGroup>();
        duty->Name = "Duty";
        duty->Members.Add(ivanov);
        groups.Add(duty);
    }
    std::unique_ptr<HttpIntake> intake(HttpIntakeOptions options)
    {
        auto made = std::make_unique<HttpIntake>(directory, sink, std::move(options));
        EXPECT_TRUE(made->listen({}, 0).ok());
        return made;
    }
    static inline int argc = 1;
    static inline char name[] = "intake_tests";
    static inline char* argv[] = {name, nullptr};
    std::unique_ptr<QCoreApplication> app;
    TAbonentList subscribers;
    TGroupList groups;
    ListPagerDirectory directory{subscribers, groups};
    RecordingSink sink;
};

const std::string Token = "Authorization: Bearer s3cret";
const std::string Page = R"({"to": "Ivanov", "text": "Pump 3 stopped"})";

std::string post(const std::string& target, const std::string& body, const std::string& auth = Token)
{
    return HttpRequestText("POST", target, body,
                           auth.empty() ? std::vector<std::string>{} : std::vector{auth});
}

std::string errorCode(const HttpResponse& reply)
{
    return QJsonDocument::fromJson(QByteArray::fromStdString(reply.body))
        .object()
        .value(QLatin1String("error"))
        .toString()
        .toStdString();
}

struct BadRequest
{
    const char* what;
    std::vector<std::string> requests; // each on its own connection; the last one's answer is checked
    int status;
    const char* code;
    std::size_t stored = 0;
    int maxConnections = 64;
    SinkAnswer::Kind sink = SinkAnswer::Kind::Stored;
};

TEST(HttpIntake, BadRequestsAreRefusedAndNothingIsStored)
{
    const std::string big(300 * 1024, 'x');
    const BadRequest cases[] = {
        {"no token", {post("/v1/pages", Page, "")}, 401, "unauthorized"},
        {"wrong token", {post("/v1/pages", Page, "Authorization: Bearer s3cre7")}, 401, "unauthorized"},
        {"bad JSON", {post("/v1/pages", R"({"to": "Ivanov", "text": )")}, 400, "bad_json"},
        {"unknown recipient",
         {post("/v1/pages", R"({"to": "Nobody", "text": "x"})")},
         404,
         "unknown_recipient"},
        {"unknown alert recipient", {post("/v1/alertmanager?to=Nobody", "{}")}, 404, "unknown_recipient"},
        {"text over the pager's limit",
         {post("/v1/pages", R"({"to": "1001", "text": ")" + std::string(61, 'a') + "\"}")},
         400,
         "bad_text"},
        {"oversize", {post("/v1/pages", R"({"to": "Ivanov", "text": ")" + big + "\"}")}, 413, "too_large"},
        {"slow client",
         {HttpRequestText("POST", "/v1/pages", Page, {Token, "Content-Length: 100"})}, // 58 bytes short
         408,
         "timeout"},
        {"flood",
         {post("/v1/pages", Page), post("/v1/pages", Page), post("/v1/pages", Page)},
         429,
         "too_many_pages",
         2},
        {"too many connections", {post("/v1/pages", Page)}, 503, "busy", 0, 1},
        {"outbox unreachable",
         {post("/v1/pages", Page)},
         503,
         "outbox_unavailable",
         0,
         64,
         SinkAnswer::Kind::TryLater},
    };
    for (const BadRequest& c : cases) {
        SCOPED_TRACE(c.what);
        Fixture f;
        f.sink.kind = c.sink;
        HttpIntakeOptions options;
        options.tokens = {{"s3cret", {}}};
        options.maxPagesPerMinute = 2;
        options.limits.requestMs = 300;
        options.limits.maxConnections = c.maxConnections;
        std::vector<std::string> told;
        options.refused = [&told](const Text& what) { told.push_back(what.russian()); };
        const auto intake = f.intake(std::move(options));
        HttpResponse reply;
        ServingWhile([&] {
            const HttpConnection holder(c.maxConnections < 64 ? intake->port() : 0); // holds the only one
            for (const std::string& request : c.requests)
                reply = HttpCall(intake->port(), request);
            return 0;
        });
        EXPECT_EQ(reply.status, c.status);
        EXPECT_EQ(errorCode(reply), c.code);
        EXPECT_EQ(f.sink.pages.size(), c.stored);
        EXPECT_EQ(told.size(), 1u);
    }
}

TEST(HttpIntake, PageIsStoredWithWhatCameWithItAndItsStateReadBack)
{
    Fixture f;
    HttpIntakeOptions options;
    options.tokens = {{"s3cret", "monitor"}};
    options.pageStatus = [](const std::string& id) -> Result<std::optional<OutboxPage>> {
        if (id != "b7-000001")
            return std::optional<OutboxPage>();
        OutboxPage page;
        page.id = id;
        page.params.CurName = cp("Иванов");
        page.state = PageState::Waiting;
        page.attempts = 2;
        page.nextAttemptMs = 1765300000000;
        page.lastReply = cp("421 занят");
        return std::optional<OutboxPage>(page);
    };
    options.reachable = [] { return false; };
    const auto intake = f.intake(std::move(options));
    const std::string body = R"({"group": "duty", "text": "Насос 3\nстоп", "defer": 30, "key": "k-17"})";
    const auto [stored, state, unknown, health] = ServingWhile([&] {
        const std::uint16_t port = intake->port();
        return std::tuple{HttpCall(port, post("/v1/pages", body)),
                          HttpCall(port, HttpRequestText("GET", "/v1/pages/b7-000001", {}, {Token})),
                          HttpCall(port, HttpRequestText("GET", "/v1/pages/b7-000002", {}, {Token})),
                          HttpCall(port, HttpRequestText("GET", "/v1/health", {}, {Token}))};
    });
    EXPECT_EQ(stored.status, 202);
    EXPECT_EQ(stored.body, R"({"ids":["b7-000001"]})");
    ASSERT_EQ(f.sink.pages.size(), 1u);
    const IncomingPage& page = f.sink.pages[0];
    ASSERT_EQ(page.recipients.size(), 1u);
    EXPECT_EQ(page.recipients[0].kind, PagerTarget::Kind::Group);
    EXPECT_EQ(page.recipients[0].name, "Duty");
    EXPECT_EQ(page.text, cp("Насос 3\r\nстоп"));
    EXPECT_EQ(page.via, "HTTP");
    EXPECT_EQ(page.from, "127.0.0.1");
    EXPECT_EQ(page.login, "monitor");
    EXPECT_EQ(page.key, "k-17");
    ASSERT_TRUE(page.holdUntil.has_value());
    EXPECT_NEAR(static_cast<double>(QDateTime::currentDateTimeUtc().secsTo(*page.holdUntil)), 1800.0, 60.0);
    EXPECT_EQ(state.status, 200);
    EXPECT_EQ(QJsonDocument::fromJson(QByteArray::fromStdString(state.body)).object(),
              QJsonDocument::fromJson(
                  R"({"id": "b7-000001", "state": "waiting", "recipient": "Иванов", "company": "",
                  "attempts": 2, "next_attempt": "2025-12-09T17:06:40Z", "desk": "", "worker": "",
                  "last_reply": "421 занят"})")
                  .object());
    EXPECT_EQ(unknown.status, 404);
    EXPECT_EQ(health.status, 503);
}

TEST(HttpIntake, AlertNotificationIsOnePageReadableWithinTheLimitAndPagedOnce)
{
    Fixture f;
    HttpIntakeOptions options;
    options.tokens = {{"s3cret", {}}};
    const auto intake = f.intake(std::move(options));
    std::string alerts;
    for (int i = 1; i <= 12; ++i)
        alerts +=
            (i > 1 ? "," : "") + QStringLiteral(R"({"status": "firing", "labels": {"alertname": "DiskFull",
            "instance": "db%1"}, "annotations": {"summary": "Disk almost full"}, "fingerprint": "f%1",
            "startsAt": "2026-12-09T10:00:00Z"})")
                                     .arg(i)
                                     .toStdString();
    const std::string notification = R"({"version": "4", "groupKey": "{}:{alertname=\"DiskFull\"}",
        "status": "firing", "commonLabels": {"alertname": "DiskFull"}, "alerts": [)" +
                                     alerts + "]}";
    // Grafana's contact point: the resolution of an alert whose summary is too long for the rest.
    const std::string grafana = R"({"orgId": 1, "status": "resolved", "groupKey": "{}/{}:{}", "alerts": [
        {"status": "resolved", "labels": {"alertname": "BoilerTemp", "instance": "boiler-2"},
         "annotations": {"summary": "Temperature of the boiler 2 feed water is back below the upper limit"}}]})";
    const auto [first, again, resolved] = ServingWhile([&] {
        return std::tuple{HttpCall(intake->port(), post("/v1/alertmanager?to=Ivanov", notification)),
                          HttpCall(intake->port(), post("/v1/alertmanager?to=Ivanov", notification)),
                          HttpCall(intake->port(), post("/v1/alertmanager?to=Duty", grafana))};
    });
    EXPECT_EQ(first.status, 202);
    EXPECT_EQ(again.status, 202);
    EXPECT_EQ(again.body, first.body);
    EXPECT_EQ(resolved.status, 202);
    ASSERT_EQ(f.sink.pages.size(), 2u);
    EXPECT_EQ(f.sink.pages[0].text, "[FIRING:12] DiskFull: Disk almost full - db1, db2, db3 +9");
    EXPECT_EQ(f.sink.pages[0].login, "alertmanager");
    EXPECT_EQ(f.sink.pages[1].text, "[RESOLVED] BoilerTemp: Temperature of the... - boiler-2");
    EXPECT_EQ(f.sink.pages[1].login, "grafana");
}

TEST(HttpIntake, WithoutTokensListensOnlyOnLoopback)
{
    Fixture f;
    HttpIntake intake(f.directory, f.sink, HttpIntakeOptions{});
    EXPECT_FALSE(intake.listen("0.0.0.0", 0).ok());
    EXPECT_TRUE(intake.listen("127.0.0.1", 0).ok());
}

TEST(HttpIntake, TokenFileIsTakenOnlyWhenItIsItsOwnersAlone)
{
    const TempDataDir dir;
    dir.write("tokens", "# monitoring\n  3f9c-e1 grafana\n\nab12\r\n");
    ::chmod(dir.file("tokens").c_str(), 0644);
    EXPECT_FALSE(LoadTokenFile(dir.file("tokens")));
    ::chmod(dir.file("tokens").c_str(), 0600);
    const Result<std::vector<HttpToken>> tokens = LoadTokenFile(dir.file("tokens"));
    ASSERT_TRUE(tokens);
    ASSERT_EQ(tokens.value().size(), 2u);
    EXPECT_EQ(tokens.value()[0].secret, "3f9c-e1");
    EXPECT_EQ(tokens.value()[0].name, "grafana");
    EXPECT_EQ(tokens.value()[1].secret, "ab12");
    dir.write("empty", "# none yet\n");
    ::chmod(dir.file("empty").c_str(), 0600);
    EXPECT_FALSE(LoadTokenFile(dir.file("empty")));
}

} // namespace
