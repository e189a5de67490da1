// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/DataFolder.h"

#include <filesystem>
#include <system_error>

namespace fs = std::filesystem;

namespace zolbin {

DataFolder::DataFolder(const std::string& dir)
{
    std::error_code ec;
    fs::path absolute = fs::absolute(dir.empty() ? fs::path(".") : fs::path(dir), ec);
    if (ec)
        absolute = dir.empty() ? fs::path(".") : fs::path(dir);
    std::string text = absolute.lexically_normal().string();
    while (text.size() > 1 && text.back() == '/')
        text.pop_back();
    root_ = text;
}

DataFolder DataFolder::Current()
{
    std::error_code ec;
    const fs::path cwd = fs::current_path(ec);
    return DataFolder(ec ? std::string(".") : cwd.string());
}

std::string DataFolder::path(const std::string& name) const
{
    if (!name.empty() && name.front() == '/')
        return name;
    if (root_ == "/")
        return root_ + name;
    return root_ + "/" + name;
}

} // namespace zolbin
