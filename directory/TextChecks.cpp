// SPDX-License-Identifier: GPL-3.0-or-later
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

namespace {

bool isControl(char c)
{
    const auto byte = static_cast<unsigned char>(c);
    return byte < 0x20 || byte == 0x7F;
}

} // namespace

bool HasControlCharacters(std::string_view text)
{
    for (char c : text)
        if (isControl(c))
            return true;
    return false;
}

std::string VisibleControls(std::string_view text)
{
    static constexpr char Hex[] = "0123456789ABCDEF";
    std::string out;
    out.reserve(text.size());
    for (char c : text) {
        if (!isControl(c)) {
            out += c;
            continue;
        }
        const auto byte = static_cast<unsigned char>(c);
        out += "\\x";
        out += Hex[byte >> 4];
        out += Hex[byte & 0x0F];
    }
    return out;
}

std::string VisibleLines(std::string_view text)
{
    std::string out;
    out.reserve(text.size());
    for (std::size_t from = 0; from < text.size();) {
        const std::size_t end = text.find("\r\n", from);
        out += VisibleControls(text.substr(from, end == std::string_view::npos ? end : end - from));
        if (end == std::string_view::npos)
            break;
        out += "\r\n";
        from = end + 2;
    }
    return out;
}

} // namespace zolbin
