#include "directory/TextChecks.h"

namespace zolbin {

unsigned char UpperCaseChar(unsigned char ch)
{
    if ((ch >= 'a' && ch <= 'z') || ch >= 0xE0)
        return static_cast<unsigned char>(ch - 0x20);
    return ch;
}

std::string UpperCaseText(std::string_view text)
{
    std::string result(text);
    for (char& c : result)
        c = static_cast<char>(UpperCaseChar(static_cast<unsigned char>(c)));
    return result;
}

bool IsEMailAddress(std::string_view text)
{
    if (text.empty() || text.find('@') == std::string_view::npos || text.find(' ') != std::string_view::npos)
        return false;
    for (char c : text)
        if (static_cast<unsigned char>(c) >= 0xC0)
            return false;
    return true;
}

bool IsDigitalText(std::string_view text)
{
    for (char c : text) {
        const bool allowed =
            c == ' ' || c == '-' || (c >= '0' && c <= '9') || c == 'U' || c == '[' || c == ']' || c == 'u';
        if (!allowed)
            return false;
    }
    return true;
}

} // namespace zolbin
