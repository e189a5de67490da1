// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The pictures of the commands on the tool bar and in the menus. Each is named by its freedesktop icon
// name ("edit-copy", "mail-send"): the desktop's icon theme draws it when the theme has a scalable picture
// of exactly that name, otherwise the program's own drawing of that name (embedded in the executable and
// installed in share/zolbin/icons). The two sorts always show the program's own drawings, which tell
// names from numbers where a theme has one picture for both.

#include <QIcon>

namespace zolbin {

QIcon commandIcon(const char* themeName);

} // namespace zolbin
