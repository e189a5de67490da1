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

} // namespace zolbin
