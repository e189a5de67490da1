// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The pictures of the commands on the tool bar and in the menus. Each is named by its freedesktop icon
// name ("edit-copy", "mail-send"): the desktop's icon theme draws it when the theme has it, otherwise the
// program's own drawing of that name, embedded in the executable and installed in share/zolbin/icons.

#include <QIcon>

namespace zolbin {

QIcon commandIcon(const char* themeName);

} // namespace zolbin
