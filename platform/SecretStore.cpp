// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/SecretStore.h"

#include "platform/Codepage.h"

namespace zolbin {

std::string SmtpSecretKey(const std::string& server, const std::string& user)
{
    return "smtp:" + utf8(user) + "@" + utf8(server);
}

std::string SimPinSecretKey(const std::string& device)
{
    return "sim-pin:" + utf8(device);
}

std::string ReadSmtpPassword(SecretStore* store, const std::string& server, const std::string& user)
{
    if (user.empty() || store == nullptr)
        return {};
    SecretStore::Answer answer = store->read(SmtpSecretKey(server, user));
    return answer.outcome == SecretStore::Outcome::Done ? std::move(answer.secret) : std::string();
}

} // namespace zolbin
