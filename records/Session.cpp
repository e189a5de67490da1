// SPDX-License-Identifier: GPL-3.0-or-later
#include "records/Session.h"

#include <filesystem>
#include <system_error>

namespace zolbin {

std::string SettingsPathInCurrentFolder()
{
    std::error_code ec;
    const std::filesystem::path cwd = std::filesystem::current_path(ec);
    return (ec ? std::string(".") : cwd.string()) + "/" + SettingsFileName;
}

} // namespace zolbin
