// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Code page 1251 <-> Unicode. Everything the program stores, compares or sends is cp1251 bytes; the
// conversion to QString happens only at the widget boundary, through these functions.

#include <QString>
#include <string>
#include <string_view>

namespace zolbin {

// cp1251 bytes -> QString (every byte has a character; 0x98 maps to U+FFFD is avoided: see .cpp).
QString toQString(std::string_view cp1251);

// QString -> cp1251 bytes. A character cp1251 cannot hold becomes '?'.
std::string toCp1251(const QString& text);

// True when cp1251 holds the character.
bool isCp1251Char(char32_t ch);

// Replaces every character cp1251 cannot hold by '?' (used by the editors as text is typed or pasted).
QString sanitizeForCp1251(const QString& text);

// A UTF-8 text (the program's own texts are written as UTF-8 literals in the source) -> cp1251 bytes.
std::string cp(std::string_view utf8);

// cp1251 bytes -> UTF-8 (for the terminal and for test messages).
std::string utf8(std::string_view cp1251);

} // namespace zolbin
