// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What one run of the program holds from its start to its end: the settings file and the settings read
// from it, the three directory lists, the journal, and the recipient of the next page with its send
// parameters. It is created before any window and handed to each window that reads or changes it; the
// window program fills it while its main window is created, zolbin-send from the data folder. Every
// file is opened in its data folder, never through the working directory.

#include "directory/Lists.h"
#include "directory/SendParams.h"
#include "directory/Settings.h"
#include "platform/DataFolder.h"
#include "platform/ProfileFile.h"
#include "records/Journal.h"

#include <cstdint>
#include <string>

namespace zolbin {

struct Session final
{
    // The session of the data folder: its settings file and journal. Nothing is read or created yet.
    explicit Session(const DataFolder& dataFolder)
        : folder(dataFolder), settingsFile(dataFolder.path(SettingsFileName)), journal(dataFolder)
    {
    }
    Session(const Session&) = delete;
    // Works in the data folder from now on: its settings file and journal (nothing is read yet).
    void UseFolder(const DataFolder& dataFolder)
    {
        folder = dataFolder;
        settingsFile = ProfileFile(dataFolder.path(SettingsFileName));
        journal = TJournal(dataFolder);
    }
    Session& operator=(const Session&) = delete;

    DataFolder folder; // where every file of the session is opened
    ProfileFile settingsFile;
    TSettings settings;
    TAbonentList abonents;
    TGroupList groups;
    TProviderList providers;
    TJournal journal;

    TSendParams SendParams;
    std::int16_t CurGroup = -1; // index of the chosen group, -1 = none
};

} // namespace zolbin
