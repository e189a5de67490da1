// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A data folder of a benchmark's own: a fresh folder under the system's temporary folder holding the code
// tables the send command reads, handed to what the benchmark runs (folder()) and removed, with all it
// then holds, after the object's lifetime.

#include "platform/DataFolder.h"

#include <filesystem>

namespace zolbin::bench {

class BenchDataFolder final
{
public:
    // Throws std::runtime_error (or std::filesystem::filesystem_error) when it cannot be made.
    BenchDataFolder();
    ~BenchDataFolder();
    BenchDataFolder(const BenchDataFolder&) = delete;
    BenchDataFolder& operator=(const BenchDataFolder&) = delete;

    DataFolder folder() const { return DataFolder(folder_.string()); }

private:
    std::filesystem::path folder_;
};

} // namespace zolbin::bench
