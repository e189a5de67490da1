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

IntakeService::IntakeService(Session& session, IntakeOptions options)
    : session_(session), options_(std::move(options)), directory_(session.abonents, session.groups),
      sink_(session, options_)
{
}

IntakeService::~IntakeService() = default;

Status IntakeService::start()
{
    // The HTTP listener goes here, beside the SNPP one: made by intake/HttpIntake's MakeHttpIntake over
    // directory_ and sink_ when options_.http names an address, owned by this service like snpp_, and
    // counted by wanted() and listening().
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

std::uint16_t IntakeService::snppPort() const
{
    return snpp_ ? snpp_->port() : 0;
}

} // namespace zolbin
