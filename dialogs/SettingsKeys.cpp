// SPDX-License-Identifier: GPL-3.0-or-later
#include "dialogs/SettingsKeys.h"

#include "directory/Settings.h"
#include "platform/ProfileFile.h"
#include "platform/ui/CommandGuard.h"

namespace zolbin {

bool WriteSettingsKeys(ProfileFile& file, std::initializer_list<SettingsKey> keys, TSettings& settings)
{
    for (const SettingsKey& key : keys)
        if (!succeeded(file.writeString(key.section, key.name, key.value)))
            return false;
    LoadSettings(file, settings);
    return true;
}

} // namespace zolbin
