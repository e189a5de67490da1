// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/DataFolderClaim.h"

#include "directory/Lists.h"
#include "directory/Settings.h"
#include "platform/FileIo.h"
#include "platform/FileLock.h"

#include <filesystem>
#include <system_error>

namespace zolbin {

std::string claimDataFolder(FileLock& lock)
{
    if (lock.take(DataFolderLockName) == FileLock::Result::Busy) {
        std::error_code ec;
        const std::string folder = std::filesystem::current_path(ec).string();
        return "Программа уже работает с папкой данных " + (ec ? std::string(".") : folder) +
               ".\nВторое окно для той же папки не открывается.";
    }
    // Without the lock another window might be saving right now: its temporary files stay.
    if (lock.held())
        for (const char* name : {AbonentFileName, GroupFileName, CompanyFileName, SettingsFileName})
            removeWriterLeftovers(name);
    return {};
}

} // namespace zolbin
