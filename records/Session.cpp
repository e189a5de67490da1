// SPDX-License-Identifier: GPL-3.0-or-later
#include "records/Session.h"

namespace zolbin {

std::string SettingsPathInCurrentFolder()
{
    return DataFolder::Current().path(SettingsFileName);
}

} // namespace zolbin
