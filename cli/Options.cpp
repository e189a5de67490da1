// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/Options.h"

#include "cli/ExitStatus.h"
#include "directory/Settings.h"
#include "intake/IntakeService.h"

#include <QCoreApplication>
#include <array>

namespace zolbin {

namespace {

struct ValueOption
{
    const char* name;
    std::optional<std::string> SendOptions::*field;
};

constexpr std::array<ValueOption, 19> ValueOptions = {{
    {"--data-dir", &SendOptions::dataDir},
    {"--to", &SendOptions::to},
    {"--group", &SendOptions::group},
    {"--number", &SendOptions::number},
    {"--company", &SendOptions::company},
    {"--defer", &SendOptions::defer},
    {"--repeat", &SendOptions::repeat},
    {"--interval", &SendOptions::interval},
    {"--smtp-password-file", &SendOptions::smtpPasswordFile},
    {"--tap-device", &SendOptions::tapDevice},
    {"--gsm-device", &SendOptions::gsmDevice},
    {"--sim-pin-file", &SendOptions::simPinFile},
    {"--outbox", &SendOptions::outbox},
    {"--gates", &SendOptions::gatesText},
    {"--listen-snpp", &SendOptions::listenSnpp},
    {"--listen-http", &SendOptions::listenHttp},
    {"--directory-import", &SendOptions::directoryImport},
    {"--directory-export", &SendOptions::directoryExport},
    {"--list", nullptr},
}};

struct FlagOption
{
    const char* name;
    bool SendOptions::*field;
};

constexpr std::array<FlagOption, 7> FlagOptions = {{
    {"--no-signature", &SendOptions::noSignature},
    {"--stop-on-error", &SendOptions::stopOnError},
    {"--quiet", &SendOptions::quiet},
    {"--queue", &SendOptions::queue},
    {"--follow", &SendOptions::follow},
    {"--all", &SendOptions::all},
    {"--work-outbox", nullptr},
}};

SendOptions::Listing listingOf(const std::string& value)
{
    if (value == "subscribers")
        return SendOptions::Listing::Subscribers;
    if (value == "groups")
        return SendOptions::Listing::Groups;
    if (value == "companies")
        return SendOptions::Listing::Companies;
    if (value == "outbox")
        return SendOptions::Listing::Outbox;
    throw UsageError(QCoreApplication::translate(
                         "Options", "--list: ожидается subscribers, groups, companies или outbox, а не «%1»")
                         .arg(argText(value)));
}

void checkListRequest(const SendOptions& o)
{
    const bool sendOption = o.to || o.group || o.number || o.company || o.defer || o.repeat || o.interval ||
                            o.noSignature || o.stopOnError;
    if (sendOption || !o.message.empty() || o.queue || o.follow || o.gates || o.listenSnpp || o.listenHttp)
        throw UsageError(QCoreApplication::translate(
            "Options", "--list не сочетается с получателем, текстом и параметрами отправки"));
    if (o.all && o.listing != SendOptions::Listing::Outbox)
        throw UsageError(
            QCoreApplication::translate("Options", "--all указывается только вместе с --list outbox"));
}

void checkWorkRequest(const SendOptions& o)
{
    const bool pageOption = o.to || o.group || o.number || o.company || o.defer || o.repeat || o.interval ||
                            o.noSignature || o.stopOnError || o.queue || o.all;
    if (pageOption || !o.message.empty())
        throw UsageError(QCoreApplication::translate(
            "Options", "--work-outbox не сочетается с получателем, текстом и параметрами сообщения"));
    if (o.listenSnpp && !o.follow)
        throw UsageError(QCoreApplication::translate(
            "Options", "--listen-snpp указывается только вместе с --work-outbox --follow"));
    if (o.listenHttp && !o.follow)
        throw UsageError(QCoreApplication::translate(
            "Options", "--listen-http указывается только вместе с --work-outbox --follow"));
}

// --directory-import or --directory-export, alone with the data folder and the database.
void checkTransferRequest(SendOptions& o, bool otherAction)
{
    const bool other = o.to || o.group || o.number || o.company || o.defer || o.repeat || o.interval ||
                       o.noSignature || o.stopOnError || o.queue || o.follow || o.all || o.gates ||
                       !o.message.empty() || otherAction;
    if (other || (o.directoryImport && o.directoryExport))
        throw UsageError(QCoreApplication::translate(
            "Options", "--directory-import и --directory-export указываются одни, без других действий"));
    const std::string& dir = o.directoryImport ? *o.directoryImport : *o.directoryExport;
    if (dir.empty())
        throw UsageError(
            QCoreApplication::translate("Options", "%1: не указана папка")
                .arg(QLatin1String(o.directoryImport ? "--directory-import" : "--directory-export")));
    o.action =
        o.directoryImport ? SendOptions::Action::DirectoryImport : SendOptions::Action::DirectoryExport;
}

void checkSendRequest(const SendOptions& o)
{
    // Told first: a --follow without --work-outbox is a worker's command line short of its action.
    if (o.follow)
        throw UsageError(
            QCoreApplication::translate("Options", "--follow указывается только вместе с --work-outbox"));
    if (o.all)
        throw UsageError(
            QCoreApplication::translate("Options", "--all указывается только вместе с --list outbox"));
    if (o.listenSnpp)
        throw UsageError(QCoreApplication::translate(
            "Options", "--listen-snpp указывается только вместе с --work-outbox --follow"));
    if (o.listenHttp)
        throw UsageError(QCoreApplication::translate(
            "Options", "--listen-http указывается только вместе с --work-outbox --follow"));
    const int recipients = (o.to ? 1 : 0) + (o.group ? 1 : 0) + (o.number ? 1 : 0);
    if (recipients == 0)
        throw UsageError(QCoreApplication::translate(
            "Options", "не указан получатель: нужен один из ключей --to, --group или --number"));
    if (recipients > 1)
        throw UsageError(QCoreApplication::translate(
            "Options", "получатель должен быть один: --to, --group и --number не сочетаются"));
    if (o.number && !o.company)
        throw UsageError(QCoreApplication::translate(
            "Options", "--number требует --company: пейдж. компания незарегистрированного абонента"));
    if (o.company && !o.number)
        throw UsageError(
            QCoreApplication::translate("Options", "--company указывается только вместе с --number"));
    if (o.repeat && !o.interval)
        throw UsageError(QCoreApplication::translate("Options", "--repeat требует --interval чч:мм"));
    if (o.interval && !o.repeat)
        throw UsageError(
            QCoreApplication::translate("Options", "--interval указывается только вместе с --repeat"));
}

} // namespace

SendOptions ParseArguments(const std::vector<std::string>& arguments)
{
    SendOptions options;
    std::optional<std::string> list;
    bool work = false;
    bool optionsEnded = false;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& arg = arguments[i];
        if (optionsEnded || arg.size() < 2 || arg[0] != '-') {
            options.message.push_back(arg);
            continue;
        }
        if (arg == "--") {
            optionsEnded = true;
            continue;
        }
        if (arg == "--help" || arg == "-h") {
            options.action = SendOptions::Action::Help;
            return options;
        }
        if (arg == "--version") {
            options.action = SendOptions::Action::Version;
            return options;
        }
        const std::size_t equals = arg.find('=');
        const std::string name = arg.substr(0, equals);

        bool known = false;
        for (const FlagOption& flag : FlagOptions) {
            if (name != flag.name)
                continue;
            if (equals != std::string::npos)
                throw UsageError(
                    QCoreApplication::translate("Options", "%1 не принимает значения").arg(argText(name)));
            (flag.field != nullptr ? options.*flag.field : work) = true;
            known = true;
        }
        for (const ValueOption& option : ValueOptions) {
            if (name != option.name)
                continue;
            std::optional<std::string>& slot = option.field != nullptr ? options.*option.field : list;
            if (slot)
                throw UsageError(
                    QCoreApplication::translate("Options", "%1 указан дважды").arg(argText(name)));
            if (equals != std::string::npos)
                slot = arg.substr(equals + 1);
            else if (i + 1 < arguments.size())
                slot = arguments[++i];
            else
                throw UsageError(
                    QCoreApplication::translate("Options", "%1: не указано значение").arg(argText(name)));
            known = true;
        }
        if (!known)
            throw UsageError(QCoreApplication::translate("Options", "неизвестный ключ %1").arg(argText(arg)));
    }

    if (options.smtpPasswordFile && options.smtpPasswordFile->empty())
        throw UsageError(QCoreApplication::translate("Options", "--smtp-password-file: не указан файл"));
    if (options.tapDevice && options.tapDevice->empty())
        throw UsageError(QCoreApplication::translate("Options", "--tap-device: не указано устройство"));
    if (options.gsmDevice && options.gsmDevice->empty())
        throw UsageError(QCoreApplication::translate("Options", "--gsm-device: не указано устройство"));
    if (options.simPinFile && options.simPinFile->empty())
        throw UsageError(QCoreApplication::translate("Options", "--sim-pin-file: не указан файл"));
    if (options.dataDir && options.dataDir->empty())
        throw UsageError(QCoreApplication::translate("Options", "--data-dir: не указана папка данных"));
    if (options.outbox && options.outbox->empty())
        throw UsageError(QCoreApplication::translate("Options", "--outbox: не указан адрес общей очереди"));
    if (options.gatesText) {
        options.gates = ParseGates(*options.gatesText);
        if (!options.gates || options.gatesText->empty())
            throw UsageError(QCoreApplication::translate("Options",
                                                         "--gates: ожидается список из snpp, smtp, tap, sms, "
                                                         "wctp через запятую или none, а не «%1»")
                                 .arg(argText(*options.gatesText)));
    }
    if (options.listenSnpp && !ParseListenAddress(*options.listenSnpp))
        throw UsageError(
            QCoreApplication::translate(
                "Options",
                "--listen-snpp: неверный адрес «%1», ожидается УЗЕЛ:ПОРТ (например, 127.0.0.1:4444)")
                .arg(argText(*options.listenSnpp)));
    if (options.listenHttp && !ParseListenAddress(*options.listenHttp))
        throw UsageError(
            QCoreApplication::translate(
                "Options",
                "--listen-http: неверный адрес «%1», ожидается УЗЕЛ:ПОРТ (например, 127.0.0.1:8080)")
                .arg(argText(*options.listenHttp)));
    if (list && work)
        throw UsageError(QCoreApplication::translate("Options", "--list не сочетается с --work-outbox"));
    if (options.directoryImport || options.directoryExport) {
        checkTransferRequest(options, list.has_value() || work);
        return options;
    }
    if (work) {
        options.action = SendOptions::Action::WorkOutbox;
        checkWorkRequest(options);
    } else if (list) {
        options.action = SendOptions::Action::List;
        options.listing = listingOf(*list);
        checkListRequest(options);
    } else {
        checkSendRequest(options);
    }
    return options;
}

} // namespace zolbin
