// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The benchmarks' directories, made once per size on first use and removed at exit.

#include "platform/DataFolder.h"

#include <string>

namespace zolbin::bench {

// The folder of the standard directory with that many subscribers.
const std::string& Folder(int subscribers);
std::string PathIn(int subscribers, const char* fileName);
void RemoveFolders();
// The folder of the standard directory as a data folder.
inline DataFolder DataFolderOf(int subscribers)
{
    return DataFolder(Folder(subscribers));
}

} // namespace zolbin::bench
