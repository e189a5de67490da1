// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The window program's hold on its data folder: one window per folder, so that no two windows rewrite
// the same list files from their own memory.

#include "platform/DataFolder.h"

#include <string>

namespace zolbin {

class FileLock;

// The hidden lock file in the data folder. zolbin-send, which only reads the lists and appends to the
// journal and the archives, does not take it.
inline constexpr const char* DataFolderLockName = ".zolbin.lock";

// Takes the lock of the data folder into `lock`, which holds it until it goes (the system drops it when the
// process ends, however it ends). Returns "" when this window may work in the folder, or the text
// (UTF-8, in the interface's language) saying that another window works there. With the lock held, the
// temporary files left by saves cut short (a process killed while writing) beside the list files and the
// settings file are removed. A folder where no lock file can be made (a read-only folder) is worked in
// without the lock.
std::string claimDataFolder(const DataFolder& folder, FileLock& lock);

} // namespace zolbin
