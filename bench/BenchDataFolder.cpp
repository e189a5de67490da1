// SPDX-License-Identifier: GPL-3.0-or-later
#include "bench/BenchDataFolder.h"

#include "dispatch/CodeTables.h"

#include <cstdlib>
#include <stdexcept>
#include <string>

namespace zolbin::bench {

namespace fs = std::filesystem;

BenchDataFolder::BenchDataFolder()
{
    std::string pattern = (fs::temp_directory_path() / "zolbin-bench-data-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr)
        throw std::runtime_error("mkdtemp");
    folder_ = pattern;
    // The tables as the package installs them beside the lists: from the source tree's data folder.
    for (const char* table : {KoiTableFileName, DosTableFileName})
        fs::copy_file(fs::path(ZOLBIN_SOURCE_DIR) / "data" / table, folder_ / table);
}

BenchDataFolder::~BenchDataFolder()
{
    std::error_code ignored;
    fs::remove_all(folder_, ignored);
}

} // namespace zolbin::bench
