// SPDX-License-Identifier: GPL-3.0-or-later
#include "dialogs/SettingsKeys.h"

#include "directory/Settings.h"
#include "platform/ProfileFile.h"
#include "platform/ui/CommandGuard.h"

namespace zolbin {

bool WriteSettingsKeys(ProfileFile& file, std::initializer_list<SettingsKey> keys, TSettings& settings)
{
    std::vector<ProfileFile::Entry> entries;
    for (const SettingsKey& key : keys)
        entries.push_back({key.section, key.name, key.value});
    if (!succeeded(file.writeStrings(entries)))
        return false;
    LoadSettings(file, settings);
    return true;
}

} // namespace zolbin
