// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// How the settings dialogs save: all of a dialog's keys in one rewrite of "Zolbin.ini", then the settings
// in memory read again; a password or PIN typed in a dialog goes to the secret store instead.

#include <QString>
#include <initializer_list>
#include <string>
#include <vector>

namespace zolbin {

class ProfileFile;
class SecretStore;
struct TSettings;

struct SettingsKey
{
    const char* section;
    const char* name;
    std::string value;
};

// Writes the keys in the order given, all in one rewrite of the file. A write that fails is reported in a
// box, with none of the keys written and the settings in memory as they were; false then. Otherwise the
// settings are read again from the file and true is returned.
bool WriteSettingsKeys(ProfileFile& file, const std::vector<SettingsKey>& keys, TSettings& settings);

// Keeps a typed secret (none typed, or no store: nothing to do) under the key, then empties its field. A
// store that refuses is reported in a box ("<notSaved>: <reason>"), false then.
bool StoreTypedSecret(SecretStore* store, const std::string& key, const std::string& secret,
                      const QString& notSaved);

} // namespace zolbin
