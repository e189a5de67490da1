// SPDX-License-Identifier: GPL-3.0-or-later
#include "tests/support/TempDir.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <unistd.h>

namespace fs = std::filesystem;

namespace zolbin::test {

TempDataDir::TempDataDir()
{
    std::string pattern = (fs::temp_directory_path() / "zolbin-test-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr)
        throw std::runtime_error("mkdtemp failed");
    path_ = pattern;
}

TempDataDir::~TempDataDir()
{
    std::error_code ec;
    // Folders made read-only by a test must be writable again before they can be removed.
    for (auto it = fs::recursive_directory_iterator(path_, ec);
         !ec && it != fs::recursive_directory_iterator(); it.increment(ec))
        fs::permissions(it->path(), fs::perms::owner_all, fs::perm_options::add, ec);
    fs::permissions(path_, fs::perms::owner_all, fs::perm_options::add, ec);
    fs::remove_all(path_, ec);
}

std::string TempDataDir::read(const std::string& name) const
{
    std::ifstream in(fs::path(path_) / name, std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

void TempDataDir::write(const std::string& name, const std::string& bytes) const
{
    std::ofstream out(fs::path(path_) / name, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

bool TempDataDir::exists(const std::string& name) const
{
    return fs::exists(fs::path(path_) / name);
}

} // namespace zolbin::test
