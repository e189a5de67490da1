// SPDX-License-Identifier: GPL-3.0-or-later
#include "intake/HttpIntake.h"

#include "directory/TextChecks.h"
#include "intake/AlertText.h"
#include "intake/PageRequest.h"
#include "intake/PageText.h"
#include "platform/Codepage.h"

#include <QDateTime>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTimer>
#include <algorithm>

namespace zolbin {

namespace {

constexpr std::int64_t RateWindowMs = 60000;
constexpr std::int64_t RepeatWindowMs = 10 * 60000;
constexpr std::size_t AlertTextLimit = 240; // reads well on a pager and in one SMS of Latin text
constexpr std::size_t MaxPageId = 128;

std::string json(const QJsonObject& object)
{
    return QJsonDocument(object).toJson(QJsonDocument::Compact).toStdString();
}

HttpAnswer errorAnswer(int status, const char* code, const Text& message)
{
    return HttpAnswer{
        status,
        json({{QLatin1String("error"), QLatin1String(code)}, {QLatin1String("message"), message.shown()}}),
        "application/json",
        {}};
}

HttpAnswer idsAnswer(int status, const std::vector<std::string>& ids)
{
    QJsonArray list;
    for (const std::string& id : ids)
        list.append(QString::fromStdString(utf8(id)));
    return HttpAnswer{status, json({{QLatin1String("ids"), list}}), "application/json", {}};
}

// Both sides compared whole, whatever their first difference, so that the time taken tells nothing.
bool sameSecret(const std::string& a, const std::string& b)
{
    unsigned char difference = a.size() == b.size() ? 0 : 1;
    for (std::size_t i = 0; i < std::max(a.size(), b.size()); ++i)
        difference |= static_cast<unsigned char>((i < a.size() ? a[i] : 0) ^ (i < b.size() ? b[i] : 0));
    return difference == 0;
}

std::string recipientKey(const PagerTarget& target)
{
    return std::to_string(static_cast<int>(target.kind)) + ":" + target.name + ":" + target.company;
}

// What a client sent (a path, a name), as one line of cp1251 for the journal and the answer.
std::string clientText(const std::string& utf8Text)
{
    return VisibleControls(toCp1251(QString::fromStdString(utf8Text)));
}

std::int64_t nowMs()
{
    return QDateTime::currentMSecsSinceEpoch();
}

} // namespace

HttpServerLimits HttpIntakeLimits()
{
    HttpServerLimits limits;
    limits.tooLarge = errorAnswer(413, "too_large", tx("HttpIntake", "Запрос больше 256 КиБ"));
    limits.tooSlow = errorAnswer(408, "timeout", tx("HttpIntake", "Запрос не пришёл целиком за 10 секунд"));
    limits.busy = errorAnswer(503, "busy", tx("HttpIntake", "Слишком много соединений, повторите позже"));
    limits.busy.headers.emplace_back("Retry-After", "10");
    return limits;
}

HttpIntake::HttpIntake(const PagerDirectory& directory, PageSink& sink, HttpIntakeOptions options,
                       QObject* parent)
    : QObject(parent), directory_(directory), sink_(sink), options_(std::move(options))
{
    HttpServerLimits limits = options_.limits;
    limits.refused = [this](const PeerAddress& peer, const HttpAnswer& answer) {
        if (!options_.refused)
            return;
        const Text why = answer.status == 413 ? tx("HttpIntake", "Запрос больше 256 КиБ")
                         : answer.status == 408
                             ? tx("HttpIntake", "Запрос не пришёл целиком за 10 секунд")
                             : tx("HttpIntake", "Слишком много соединений, повторите позже");
        options_.refused(
            tx("HttpIntake", "Отклонено по HTTP от %1: %2 %3").arg(peer.address).arg(answer.status).arg(why));
    };
    server_ = std::make_unique<HttpServer>(
        [this](const HttpRequest& request, const HttpReply& reply) { handle(request, reply); },
        std::move(limits));
}

HttpIntake::~HttpIntake() = default;

Status HttpIntake::listen(const std::string& host, std::uint16_t port)
{
    if (options_.tokens.empty() && !IsLoopbackAddress(host))
        return Failure{0, tx("HttpIntake", "Приём по HTTP на %1 без файла ключей (TokenFile) не открыт: без "
                                           "ключей принимаются запросы только этой машины")
                              .arg(host)};
    if (options_.certFile.empty() != options_.keyFile.empty())
        return Failure{0, tx("HttpIntake", "Для HTTPS нужны и сертификат (CertFile), и ключ (KeyFile)")};
    if (!options_.certFile.empty())
        if (Status tls = server_->useTls(options_.certFile, options_.keyFile); !tls)
            return tls;
    return server_->listen(host, port);
}

std::uint16_t HttpIntake::port() const
{
    return server_->port();
}

HttpAnswer HttpIntake::error(int status, const char* code, const Text& message)
{
    // Told as the sink tells the pages it refuses: how it came, from where and who, then what and why.
    if (options_.refused)
        options_.refused(tx("HttpIntake", "Отклонено по HTTP от %1%2: %3: %4 %5")
                             .arg(peer_)
                             .arg(login_.empty() ? std::string() : " (" + clientText(login_) + ")")
                             .arg(clientText(path_))
                             .arg(status)
                             .arg(message));
    return errorAnswer(status, code, message);
}

std::optional<std::string> HttpIntake::authorized(const HttpRequest& request) const
{
    if (options_.tokens.empty())
        return request.peer.loopback ? std::optional<std::string>(std::string()) : std::nullopt;
    const std::string header = request.header("Authorization");
    constexpr std::string_view scheme = "bearer ";
    if (header.size() <= scheme.size() ||
        !std::equal(scheme.begin(), scheme.end(), header.begin(),
                    [](char a, char b) { return a == std::tolower(static_cast<unsigned char>(b)); }))
        return std::nullopt;
    const std::string given = header.substr(scheme.size());
    const HttpToken* match = nullptr;
    for (const HttpToken& token : options_.tokens)
        if (sameSecret(token.secret, given))
            match = &token;
    return match != nullptr ? std::optional<std::string>(match->name) : std::nullopt;
}

void HttpIntake::handle(const HttpRequest& request, const HttpReply& reply)
{
    if (const std::optional<HttpAnswer> answer = route(request, reply))
        reply(*answer);
}

std::optional<HttpAnswer> HttpIntake::route(const HttpRequest& request, const HttpReply& reply)
{
    peer_ = request.peer.address;
    path_ = request.path;
    login_.clear();
    const std::optional<std::string> login = authorized(request);
    if (!login) {
        HttpAnswer answer = error(401, "unauthorized",
                                  options_.tokens.empty()
                                      ? tx("HttpIntake", "Без ключей принимаются запросы только этой машины")
                                      : tx("HttpIntake", "Нужен верный ключ: Authorization: Bearer …"));
        answer.headers.emplace_back("WWW-Authenticate", "Bearer");
        return answer;
    }
    login_ = *login;
    const Client client{request.peer.address, *login};
    const auto only = [&](const char* method) { return request.method == method; };
    const std::string pagePrefix = "/v1/pages/";
    if (request.path == "/v1/pages" && only("POST"))
        return pages(request, client, reply);
    if (request.path == "/v1/alertmanager" && only("POST"))
        return alertmanager(request, client, reply);
    if (request.path == "/v1/health" && only("GET"))
        return health();
    if (request.path.rfind(pagePrefix, 0) == 0 && only("GET"))
        return pageState(request.path.substr(pagePrefix.size()));
    const bool known = request.path == "/v1/pages" || request.path == "/v1/alertmanager" ||
                       request.path == "/v1/health" || request.path.rfind(pagePrefix, 0) == 0;
    if (known)
        return error(405, "method_not_allowed", tx("HttpIntake", "Метод не подходит для этого адреса"));
    return error(404, "not_found", tx("HttpIntake", "Нет такого адреса"));
}

std::optional<HttpAnswer> HttpIntake::pages(const HttpRequest& request, const Client& client,
                                            const HttpReply& reply)
{
    QJsonParseError parsed{};
    const QJsonDocument document = QJsonDocument::fromJson(QByteArray::fromStdString(request.body), &parsed);
    if (parsed.error != QJsonParseError::NoError || !document.isObject())
        return error(400, "bad_json", tx("HttpIntake", "Тело запроса - не объект JSON"));
    std::variant<PageRequest, RequestFault> read =
        ReadPageRequest(document.object(), directory_, QDateTime::currentDateTimeUtc());
    if (const auto* fault = std::get_if<RequestFault>(&read))
        return error(fault->status, fault->code, fault->message);
    PageRequest& asked = std::get<PageRequest>(read);
    IncomingPage page;
    page.recipients = {asked.target};
    page.text = std::move(asked.text);
    page.holdUntil = asked.holdUntil;
    page.from = client.address;
    page.login = client.login;
    page.key = std::move(asked.key);
    return enqueue(asked.target, std::move(page), reply);
}

std::optional<HttpAnswer> HttpIntake::alertmanager(const HttpRequest& request, const Client& client,
                                                   const HttpReply& reply)
{
    const std::string* to = request.queryItem("to");
    if (to == nullptr || to->empty())
        return error(400, "bad_request", tx("HttpIntake", "Укажите получателя: ?to=ИМЯ"));
    const std::optional<PagerTarget> target = directory_.find(toCp1251(QString::fromStdString(*to)));
    if (!target)
        return error(404, "unknown_recipient",
                     tx("HttpIntake", "Получатель «%1» не найден в справочнике").arg(clientText(*to)));
    QJsonParseError parsed{};
    const QJsonDocument document = QJsonDocument::fromJson(QByteArray::fromStdString(request.body), &parsed);
    const std::size_t limit = target->maxLen > 0 ? static_cast<std::size_t>(target->maxLen) : AlertTextLimit;
    const std::optional<AlertNotification> notification =
        parsed.error == QJsonParseError::NoError && document.isObject()
            ? ReadAlertNotification(document.object(), limit)
            : std::nullopt;
    if (!notification)
        return error(400, "bad_json",
                     tx("HttpIntake", "Тело запроса - не уведомление Alertmanager или Grafana"));
    if (const std::optional<Text> why = TextRefusal(notification->text, *target))
        return error(400, "bad_text", *why);

    const std::int64_t now = nowMs();
    for (auto it = notifications_.begin(); it != notifications_.end();)
        it = now - it->second.atMs >= RepeatWindowMs ? notifications_.erase(it) : std::next(it);
    const std::string repeatKey = recipientKey(*target) + "\n" + notification->repeatKey;
    if (const auto seen = notifications_.find(repeatKey); seen != notifications_.end())
        return idsAnswer(202, seen->second.ids); // paged already: the sender did not hear our answer

    IncomingPage page;
    page.recipients = {*target};
    page.text = notification->text;
    page.from = client.address;
    page.login = notification->source;
    return enqueue(*target, std::move(page), reply, repeatKey);
}

std::optional<HttpAnswer> HttpIntake::enqueue(const PagerTarget& target, IncomingPage page,
                                              const HttpReply& reply, std::string repeatKey)
{
    const std::int64_t now = nowMs();
    const std::string recipient = recipientKey(target);
    if (overRate(recipient, now)) {
        HttpAnswer answer = error(429, "too_many_pages",
                                  tx("HttpIntake", "Больше %1 сообщений в минуту одному получателю")
                                      .arg(options_.maxPagesPerMinute));
        answer.headers.emplace_back("Retry-After", "60");
        return answer;
    }
    recent_[recipient].push_back(now); // counted at once, so that pages queued together keep the limit
    page.via = "HTTP";
    pending_.push_back(Pending{std::move(page), path_, recipient, now, std::move(repeatKey), reply});
    if (!flushing_) {
        flushing_ = true;
        QTimer::singleShot(0, this, &HttpIntake::flush);
    }
    return std::nullopt;
}

void HttpIntake::flush()
{
    flushing_ = false;
    std::vector<Pending> batch = std::move(pending_);
    pending_.clear();
    std::vector<IncomingPage> pages;
    pages.reserve(batch.size());
    for (const Pending& p : batch)
        pages.push_back(p.page);
    const std::vector<SinkAnswer> answers = sink_.storeAll(pages);
    for (std::size_t i = 0; i < batch.size(); ++i) {
        Pending& p = batch[i];
        const SinkAnswer answer =
            i < answers.size() ? answers[i] : SinkAnswer{SinkAnswer::Kind::TryLater, {}, {}, false};
        if (answer.kind == SinkAnswer::Kind::Stored) {
            if (!p.repeatKey.empty())
                notifications_[p.repeatKey] = Answered{p.atMs, answer.pageIds};
            p.reply(idsAnswer(202, answer.pageIds));
            continue;
        }
        std::deque<std::int64_t>& times = recent_[p.recipient]; // not stored: not counted
        if (const auto it = std::find(times.begin(), times.end(), p.atMs); it != times.end())
            times.erase(it);
        peer_ = p.page.from;
        path_ = p.path;
        login_ = p.page.login;
        if (answer.kind == SinkAnswer::Kind::Refused) { // the sink has told it
            p.reply(
                errorAnswer(400, "refused", tx("HttpIntake", "Сообщение не принято: %1").arg(answer.reason)));
            continue;
        }
        HttpAnswer later =
            error(503, "outbox_unavailable",
                  tx("HttpIntake", "Очередь сообщений недоступна, повторите позже: %1").arg(answer.reason));
        later.headers.emplace_back("Retry-After", "30");
        p.reply(later);
    }
}

bool HttpIntake::overRate(const std::string& recipient, std::int64_t now)
{
    if (options_.maxPagesPerMinute <= 0)
        return false;
    std::deque<std::int64_t>& times = recent_[recipient];
    while (!times.empty() && now - times.front() >= RateWindowMs)
        times.pop_front();
    return times.size() >= static_cast<std::size_t>(options_.maxPagesPerMinute);
}

HttpAnswer HttpIntake::pageState(const std::string& id)
{
    const auto unknown = [&] {
        return error(404, "unknown_page",
                     tx("HttpIntake", "Нет сообщения с номером «%1»").arg(clientText(id)));
    };
    // The outbox's ids are printable ASCII: anything else names no page.
    const bool printable =
        std::all_of(id.begin(), id.end(), [](char c) { return c > 0x20 && c < 0x7F && c != '/'; });
    if (id.empty() || id.size() > MaxPageId || !printable || !options_.pageStatus)
        return unknown();
    const Result<std::optional<OutboxPage>> page = options_.pageStatus(id);
    if (!page)
        return error(503, "outbox_unavailable", page.failure().text);
    if (!page.value())
        return unknown();
    return HttpAnswer{200, json(PageStatusJson(*page.value())), "application/json", {}};
}

HttpAnswer HttpIntake::health()
{
    if (options_.reachable && !options_.reachable())
        return error(503, "outbox_unavailable", tx("HttpIntake", "Очередь сообщений недоступна"));
    return HttpAnswer{200, json({{QLatin1String("status"), QLatin1String("ok")}}), "application/json", {}};
}

} // namespace zolbin
