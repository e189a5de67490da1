// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The desktop's secret store (Secret Service or KWallet) through QtKeychain. Each request runs on a thread
// of its own with that thread's event loop; the caller's thread waits for the answer or the time limit,
// whichever comes first, and dispatches nothing meanwhile (a send asks from its worker thread). Without a
// session bus nothing is asked and the answer is NoStore at once. Needs a QCoreApplication.

#include "platform/SecretStore.h"

#include <chrono>
#include <string>

namespace zolbin {

// What the operator is told for an error of QtKeychain (its QKeychain::Error; UTF-8): a sentence that says
// what to do, in place of the library's English. Empty for no error and for a secret not found.
std::string SecretStoreErrorText(int error);

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
