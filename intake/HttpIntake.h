// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The HTTP intake: pages from the systems that watch the plant, over HTTP or HTTPS (platform/HttpServer),
// each handed whole to the caller's PageSink and accepted only once it is stored.
//   POST /v1/alertmanager?to=NAME  a notification of Prometheus Alertmanager or Grafana: one page to the
//                                  subscriber or group NAME (intake/AlertText); the same notification sent
//                                  again within ten minutes is answered as before and not paged twice
//   POST /v1/pages                 a page (intake/PageRequest) -> 202 {"ids": [...]}
//   GET  /v1/pages/ID              the page's state as `--list outbox` gives it
//   GET  /v1/health                200 while the outbox is reachable, else 503
// Errors are {"error": CODE, "message": TEXT}: 400 a bad request, 401 no or a wrong token (or, without
// tokens, a client of another machine), 404 an unknown recipient or page, 413 a body over 256 KiB, 408 a
// request not complete in 10 s, 429 more pages to one recipient in a minute than allowed, 400 a page the
// sink refused (its recipient's company, say), 503 the outbox
// not reachable (the sender retries: nothing is lost) or more than 64 connections.

#include "intake/PageSink.h"
#include "intake/PagerDirectory.h"
#include "intake/TokenFile.h"
#include "platform/HttpServer.h"
#include "platform/Text.h"
#include "records/Outbox.h"

#include <QObject>
#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace zolbin {

// The server's limits with the intake's answers: bodies of 256 KiB, 64 connections, 10 s for a request.
HttpServerLimits HttpIntakeLimits();

struct HttpIntakeOptions
{
    std::vector<HttpToken> tokens; // none: only clients of this machine are served
    std::string certFile;          // both: HTTPS
    std::string keyFile;
    int maxPagesPerMinute = 10; // to one recipient; 0: no limit
    // A page's state by its id: nothing when the outbox has no such page, a failure when it cannot be read.
    std::function<Result<std::optional<OutboxPage>>(const std::string& id)> pageStatus;
    // Whether the outbox is reachable now (none: always).
    std::function<bool()> reachable;
    // Told of each request refused here (the journal's words: russian()); the pages the sink refuses it
    // tells itself.
    std::function<void(const Text&)> refused;
    HttpServerLimits limits = HttpIntakeLimits();
};

class HttpIntake final : public QObject
{
    Q_OBJECT
public:
    // The directory and the sink outlive the intake.
    HttpIntake(const PagerDirectory& directory, PageSink& sink, HttpIntakeOptions options,
               QObject* parent = nullptr);
    ~HttpIntake() override;

    // Listens on host:port (127.0.0.1 when host is empty; port 0: a free one). Without tokens a host other
    // than this machine's loopback is refused.
    Status listen(const std::string& host, std::uint16_t port);
    std::uint16_t port() const;

private:
    struct Client
    {
        std::string address;
        std::string login;
    };
    // Each request's answer; a page's once the sink has said (after the pages that came with it).
    void handle(const HttpRequest& request, const HttpReply& reply);
    std::optional<HttpAnswer> route(const HttpRequest& request, const HttpReply& reply);
    std::optional<std::string> authorized(const HttpRequest& request) const;
    std::optional<HttpAnswer> pages(const HttpRequest& request, const Client& client, const HttpReply& reply);
    std::optional<HttpAnswer> alertmanager(const HttpRequest& request, const Client& client,
                                           const HttpReply& reply);
    HttpAnswer pageState(const std::string& id);
    HttpAnswer health();
    // Queues the page for the sink (nothing), or refuses it at once.
    std::optional<HttpAnswer> enqueue(const PagerTarget& target, IncomingPage page, const HttpReply& reply,
                                      std::string repeatKey = {});
    // Hands the queued pages to the sink together and answers each.
    void flush();
    bool overRate(const std::string& recipient, std::int64_t nowMs);
    HttpAnswer error(int status, const char* code, const Text& message);

    const PagerDirectory& directory_;
    PageSink& sink_;
    HttpIntakeOptions options_;
    std::unique_ptr<HttpServer> server_;
    std::string peer_; // the client of the request under way, for the refusals told
    std::string path_;
    std::string login_;                                      // who the client is, once its token is known
    std::map<std::string, std::deque<std::int64_t>> recent_; // each recipient's pages of the last minute
    struct Answered
    {
        std::int64_t atMs;
        std::vector<std::string> ids;
    };
    std::map<std::string, Answered> notifications_; // the alert notifications paged in the last ten minutes
    // The pages taken in since the sink was last given any: requests that came together are stored together.
    struct Pending
    {
        IncomingPage page;
        std::string path;
        std::string recipient;
        std::int64_t atMs;
        std::string repeatKey;
        HttpReply reply;
    };
    std::vector<Pending> pending_;
    bool flushing_ = false;
};

} // namespace zolbin
