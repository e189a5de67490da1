// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/SimPin.h"

#include "cli/ExitStatus.h"
#include "cli/SmtpPassword.h"
#include "platform/Codepage.h"
#include "platform/SecretStore.h"
#include "platform/keychain/KeychainStore.h"
#include "records/Session.h"

#include <QCoreApplication>
#include <cstdlib>

namespace zolbin {

std::optional<std::string> SimPinFromFile(const std::optional<std::string>& option)
{
    if (!option)
        return std::nullopt;
    std::string pin = SecretFileFirstLine(*option, tx("SimPin", "файл PIN SIM-карты"));
    if (pin.size() < 4 || pin.size() > 8 || pin.find_first_not_of("0123456789") != std::string::npos)
        throw UsageError(QCoreApplication::translate(
                             "SimPin", "файл PIN SIM-карты «%1»: в первой строке нужен PIN из 4-8 цифр")
                             .arg(argText(*option)));
    return pin;
}

std::function<std::string()> SimPinSource(std::optional<std::string> filePin, const Session& session,
                                          std::ostream& err)
{
    if (filePin)
        return [pin = std::move(*filePin)] { return pin; };
    return [&session, &err]() -> std::string {
        if (std::getenv("DBUS_SESSION_BUS_ADDRESS") == nullptr)
            return {};
        KeychainStore store;
        SecretStore::Answer answer = store.read(SimPinSecretKey(session.settings.GsmDevice));
        if (answer.outcome == SecretStore::Outcome::Done)
            return std::move(answer.secret);
        if (answer.outcome == SecretStore::Outcome::NotFound)
            err << "zolbin-send: "
                << QCoreApplication::translate("SimPin",
                                               "PIN SIM-карты для «%1» не найден в хранилище паролей")
                       .arg(argText(utf8(session.settings.GsmDevice)))
                       .toStdString()
                << '\n';
        else if (answer.outcome != SecretStore::Outcome::NoStore)
            err << "zolbin-send: " << answer.reason << '\n';
        return {};
    };
}

} // namespace zolbin
