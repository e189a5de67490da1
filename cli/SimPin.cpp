// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/SimPin.h"

#include "cli/ExitStatus.h"
#include "cli/SmtpPassword.h"
#include "platform/Codepage.h"
#include "platform/SecretStore.h"
#include "platform/keychain/KeychainStore.h"
#include "records/Session.h"

#include <cstdlib>

namespace zolbin {

std::optional<std::string> SimPinFromFile(const std::optional<std::string>& option)
{
    if (!option)
        return std::nullopt;
    std::string pin = SecretFileFirstLine(*option, "файл PIN SIM-карты");
    if (pin.size() < 4 || pin.size() > 8 || pin.find_first_not_of("0123456789") != std::string::npos)
        throw UsageError("файл PIN SIM-карты «" + *option + "»: в первой строке нужен PIN из 4-8 цифр");
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
            err << "zolbin-send: PIN SIM-карты для «" << utf8(session.settings.GsmDevice)
                << "» не найден в хранилище паролей\n";
        else if (answer.outcome != SecretStore::Outcome::NoStore)
            err << "zolbin-send: " << answer.reason << '\n';
        return {};
    };
}

} // namespace zolbin
