// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The benchmarks' directories, made once per size on first use and removed at exit.

#include <filesystem>
#include <string>

namespace zolbin::bench {

// The folder of the standard directory with that many subscribers.
const std::string& Folder(int subscribers);
std::string PathIn(int subscribers, const char* fileName);
void RemoveFolders();

// Works in the folder for its lifetime: the lists write their files into the current directory.
struct InFolder
{
    explicit InFolder(const std::string& folder) : before(std::filesystem::current_path())
    {
        std::filesystem::current_path(folder);
    }
    ~InFolder() { std::filesystem::current_path(before); }
    std::filesystem::path before;
};

} // namespace zolbin::bench
