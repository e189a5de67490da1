// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The checks of a page's text taken in, whichever way it came (SNPP, HTTP), as the window checks a page:
// not empty, no control character but the line breaks, within each recipient's limit (a line break
// counting two), and only the digital pager's characters for a digital pager.

#include "intake/PagerDirectory.h"
#include "platform/Text.h"

#include <optional>
#include <string>

namespace zolbin {

constexpr std::size_t MaxIncomingText = 65536; // bytes of one message however it comes

// text: cp1251, lines joined by CR LF. Why the text cannot be a page at all, or nothing.
std::optional<Text> TextFault(const std::string& text);
// Why the text cannot go to this recipient, or nothing.
std::optional<Text> TextRefusal(const std::string& text, const PagerTarget& target);

} // namespace zolbin
