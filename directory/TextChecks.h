// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Text functions on cp1251 bytes: folding to capitals for look-ups, the e-mail and digital-pager checks.

#include <string>
#include <string_view>

namespace zolbin {

// 'a'..'z' and 0xE0..0xFF lowered by 0x20; every other byte ("ё" 0xB8 included) unchanged.
unsigned char UpperCaseChar(unsigned char ch);
std::string UpperCaseText(std::string_view text);

// Not empty, has '@', no blank, no byte 0xC0..0xFF.
bool IsEMailAddress(std::string_view text);

// Only space, '-', '0'..'9', 'U', '[', ']', 'u'; the empty text passes.
bool IsDigitalText(std::string_view text);

// True when the text holds a control character (a byte below 0x20, or 0x7F).
bool HasControlCharacters(std::string_view text);

// The text with every control character written as "\xHH", for a stored value (a name read from a list
// file) on its way into the journal or onto a terminal: it can neither start a line of its own there nor
// drive the terminal. Text without control characters comes back unchanged.
std::string VisibleControls(std::string_view text);

// The same for text that comes from a peer (a server's reply): the CR LF pairs that part its lines stay,
// every other control character (ESC, BEL, a lone CR or LF) is written as "\xHH".
std::string VisibleLines(std::string_view text);

} // namespace zolbin
