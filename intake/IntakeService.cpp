// SPDX-License-Identifier: GPL-3.0-or-later
#include "intake/IntakeService.h"

#include "intake/SnppListener.h"
#include "platform/Convert.h"
#include "records/Session.h"

namespace zolbin {

std::optional<ListenAddress> ParseListenAddress(const std::string& text)
{
    ListenAddress address{"127.0.0.1", 0};
    std::string port = text;
    if (const std::size_t colon = text.rfind(':'); colon != std::string::npos) {
        std::string host = text.substr(0, colon);
        if (host.size() >= 2 && host.front() == '[' && host.back() == ']')
            host = host.substr(1, host.size() - 2);
        else if (host.find(':') != std::string::npos)
            return std::nullopt; // an IPv6 host goes in brackets
        if (host.empty())
            return std::nullopt;
        address.host = host;
        port = text.substr(colon + 1);
    }
    std::int32_t number = 0;
    if (port.empty() || port.find_first_not_of("0123456789") != std::string::npos ||
        !TryStrToInt(port, number) || number < 1 || number > 65535)
        return std::nullopt;
    address.port = static_cast<std::uint16_t>(number);
    return address;
}

IntakeOptions IntakeOptionsOf(const TSettings& settings)
{
    IntakeOptions options;
    options.snpp = settings.IntakeSnpp;
    options.snppUsersFile = settings.IntakeSnppUsersFile;
    options.http = settings.IntakeHttp;
    options.tokenFile = settings.IntakeTokenFile;
    options.certFile = settings.IntakeCertFile;
    options.keyFile = settings.IntakeKeyFile;
    options.maxPagesPerMinute = settings.IntakeMaxPagesPerMinute;
    return options;
}

IntakeService::RefreshingSink::RefreshingSink(Session& session, const IntakeOptions& options)
    : sink_(session, options.maxPagesPerMinute), options_(options)
{
}

SinkAnswer IntakeService::RefreshingSink::store(const IncomingPage& page)
{
    if (options_.refreshDirectory)
        options_.refreshDirectory();
    return sink_.store(page);
}

std::vector<SinkAnswer> IntakeService::RefreshingSink::storeAll(const std::vector<IncomingPage>& pages)
{
    if (options_.refreshDirectory)
        options_.refreshDirectory();
    return sink_.storeAll(pages);
}

IntakeService::IntakeService(Session& session, IntakeOptions options)
    : session_(session), options_(std::move(options)), directory_(session.abonents, session.groups),
      sink_(session, options_)
{
}

IntakeService::~IntakeService() = default;

Status IntakeService::start()
{
    Status started = startSnpp();
    if (started)
        started = startHttp();
    if (!started) {
        http_.reset();
        snpp_.reset();
    }
    return started;
}

Status IntakeService::startSnpp()
{
    if (options_.snpp.empty())
        return {};
    const std::optional<ListenAddress> address = ParseListenAddress(options_.snpp);
    if (!address)
        return Failure{0, tx("Intake", "SNPP: неверный адрес «%1»: ожидается УЗЕЛ:ПОРТ").arg(options_.snpp)};
    if (!options_.snppUsersFile.empty()) {
        Result<SnppUsers> users = SnppUsers::load(options_.snppUsersFile);
        if (!users)
            return users.failure();
        users_ = std::move(users.value());
    }
    auto listener = MakeSnppListener(directory_, sink_, users_ ? &*users_ : nullptr);
    if (Status listening = listener->listen(address->host, address->port); !listening)
        return listening;
    snpp_ = std::move(listener);
    return {};
}

Status IntakeService::startHttp()
{
    if (options_.http.empty())
        return {};
    const std::optional<ListenAddress> address = ParseListenAddress(options_.http);
    if (!address)
        return Failure{0, tx("Intake", "HTTP: неверный адрес «%1»: ожидается УЗЕЛ:ПОРТ").arg(options_.http)};
    HttpIntakeOptions how;
    if (!options_.tokenFile.empty()) {
        Result<std::vector<HttpToken>> tokens = LoadTokenFile(options_.tokenFile);
        if (!tokens)
            return tokens.failure();
        how.tokens = std::move(tokens.value());
    }
    how.certFile = options_.certFile;
    how.keyFile = options_.keyFile;
    how.maxPagesPerMinute = options_.maxPagesPerMinute;
    OutboxSink& outbox = sink_.outbox();
    how.pageStatus = [&outbox](const std::string& id) { return outbox.page(id); };
    how.reachable = [&outbox] { return outbox.reachable(); };
    how.refused = [this](const Text& what) {
        if (session_.journal.EnsureExists())
            (void)session_.journal.WriteLine(what.russian());
    };
    auto intake = std::make_unique<HttpIntake>(directory_, sink_, std::move(how));
    if (Status listening = intake->listen(address->host, address->port); !listening)
        return listening;
    http_ = std::move(intake);
    return {};
}

std::uint16_t IntakeService::snppPort() const
{
    return snpp_ ? snpp_->port() : 0;
}

std::uint16_t IntakeService::httpPort() const
{
    return http_ ? http_->port() : 0;
}

} // namespace zolbin
