// SPDX-License-Identifier: GPL-3.0-or-later
#include "dialogs/SettingsKeys.h"

#include "directory/Settings.h"
#include "platform/Codepage.h"
#include "platform/ProfileFile.h"
#include "platform/Prompts.h"
#include "platform/SecretStore.h"
#include "platform/ui/CommandGuard.h"
#include "platform/ui/UiText.h"

namespace zolbin {

bool WriteSettingsKeys(ProfileFile& file, const std::vector<SettingsKey>& keys, TSettings& settings)
{
    std::vector<ProfileFile::Entry> entries;
    for (const SettingsKey& key : keys)
        entries.push_back({key.section, key.name, key.value});
    if (!succeeded(file.writeStrings(entries)))
        return false;
    LoadSettings(file, settings);
    return true;
}

bool StoreTypedSecret(SecretStore* store, const std::string& key, const std::string& secret,
                      const QString& notSaved)
{
    if (secret.empty() || store == nullptr)
        return true;
    const SecretStore::Answer stored = store->write(key, secret);
    if (stored.outcome == SecretStore::Outcome::Done)
        return true;
    Prompts::message(notSaved + QStringLiteral(": ") + uiText(stored.reason));
    return false;
}

} // namespace zolbin
