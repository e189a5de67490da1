// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The program's own captions and texts for the widgets. They are written once as UTF-8 literals and go
// through code page 1251 like every text the program shows, so a caption can never hold a character the
// program could not store or send.

#include "platform/Codepage.h"

#include <QString>
#include <string_view>

namespace zolbin {

inline QString uiText(std::string_view utf8Text)
{
    return toQString(cp(utf8Text));
}

} // namespace zolbin
