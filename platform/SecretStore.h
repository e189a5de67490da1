// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A password kept outside "Zolbin.ini": the desktop's secret store as the program sees it. The windows and
// zolbin-send use the real store (platform/keychain); tests give a fake. Secrets and keys are UTF-8.

#include <string>

namespace zolbin {

// The service name every secret of the program is stored under.
inline constexpr const char* SecretService = "zolbin-sender";

// The key of the SMTP login's password: the mail server and the user (both cp1251, as in the settings),
// so that each login on each server has its own password. The key is UTF-8.
std::string SmtpSecretKey(const std::string& server, const std::string& user);

// The key of the PIN of the SIM in the GSM modem on the device (cp1251, as in the settings). UTF-8.
std::string SimPinSecretKey(const std::string& device);

class SecretStore
{
public:
    enum class Outcome
    {
        Done,     // read: found (the secret is set); write: stored
        NotFound, // read only: the store has no such key
        NoStore,  // no secret store on this desktop (no session bus, no service answering)
        TimedOut, // the store did not answer within the time limit
        Failed    // the store answered with an error (refused, locked, ...)
    };
    struct Answer
    {
        Outcome outcome = Outcome::Failed;
        std::string secret; // when read and found
        std::string reason; // UTF-8, for the operator, when neither Done nor NotFound
    };

    virtual ~SecretStore() = default;
    virtual Answer read(const std::string& key) = 0;
    virtual Answer write(const std::string& key, const std::string& secret) = 0;
};

// The password of the SMTP login "user" on "server" (cp1251 both) as the store gives it; empty without a
// login, without a store, or when the store has none or cannot answer.
std::string ReadSmtpPassword(SecretStore* store, const std::string& server, const std::string& user);

} // namespace zolbin
