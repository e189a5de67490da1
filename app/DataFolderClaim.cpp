// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/DataFolderClaim.h"

#include "directory/Lists.h"
#include "directory/Settings.h"
#include "platform/FileIo.h"
#include "platform/FileLock.h"

#include <QCoreApplication>
#include <QFile>
#include <filesystem>
#include <system_error>

namespace zolbin {

std::string claimDataFolder(const DataFolder& folder, FileLock& lock)
{
    if (lock.take(folder.path(DataFolderLockName)) == FileLock::Result::Busy) {
        // The folder as the system resolves it (links followed), as the other window knows it too.
        std::error_code ec;
        const std::filesystem::path resolved = std::filesystem::canonical(folder.root(), ec);
        return QCoreApplication::translate("DataFolderClaim",
                                           "Программа уже работает с папкой данных %1.\nВторое окно для той "
                                           "же папки не открывается.")
            .arg(QFile::decodeName((ec ? folder.root() : resolved.string()).c_str()))
            .toStdString();
    }
    // Without the lock another window might be saving right now: its temporary files stay.
    if (lock.held())
        for (const char* name : {AbonentFileName, GroupFileName, CompanyFileName, SettingsFileName})
            removeWriterLeftovers(folder.path(name));
    return {};
}

} // namespace zolbin
