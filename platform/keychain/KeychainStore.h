// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The desktop's secret store (Secret Service or KWallet) through QtKeychain. A job runs in a local event
// loop that ends when the store answers or at the time limit, whichever comes first; without a session bus
// nothing is asked and the answer is NoStore at once. Needs a QCoreApplication.

#include "platform/SecretStore.h"

#include <chrono>

namespace zolbin {

class KeychainStore final : public SecretStore
{
public:
    explicit KeychainStore(std::chrono::milliseconds limit = std::chrono::seconds(5)) : limit_(limit) {}

    Answer read(const std::string& key) override;
    Answer write(const std::string& key, const std::string& secret) override;

private:
    std::chrono::milliseconds limit_;
};

} // namespace zolbin
