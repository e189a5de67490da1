// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What one run of the program holds from its start to its end: the settings file and the settings read
// from it, the three directory lists, the journal, and the recipient of the next page with its send
// parameters. It is created before any window and handed to each window that reads or changes it; the
// window program fills it while its main window is created, zolbin-send from the data folder.

#include "directory/Lists.h"
#include "directory/SendParams.h"
#include "directory/Settings.h"
#include "platform/ProfileFile.h"
#include "records/Journal.h"

#include <cstdint>
#include <string>
#include <utility>

namespace zolbin {

struct Session final
{
    // Nothing is read or created yet: settingsPath only names the settings file.
    explicit Session(std::string settingsPath) : settingsFile(std::move(settingsPath)) {}
    Session(const Session&) = delete;
    Session& operator=(const Session&) = delete;

    ProfileFile settingsFile;
    TSettings settings;
    TAbonentList abonents;
    TGroupList groups;
    TProviderList providers;
    TJournal journal;

    TSendParams SendParams;
    std::int16_t CurGroup = -1; // index of the chosen group, -1 = none
};

// The settings file of the data folder, which is the current directory: its full path. Should the folder
// have gone missing, "." still names it, as it does for every other file the program opens.
std::string SettingsPathInCurrentFolder();

} // namespace zolbin
