// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/Codepage.h"

#include <array>

namespace zolbin {

namespace {

// Unicode of the cp1251 bytes 0x80..0xFF. The byte 0x98 has no character in cp1251; it is mapped to
// U+0098 both ways, so that every byte converts to a character and back to itself.
constexpr std::array<char16_t, 128> HighHalf = {
    0x0402, 0x0403, 0x201A, 0x0453, 0x201E, 0x2026, 0x2020, 0x2021, // 80
    0x20AC, 0x2030, 0x0409, 0x2039, 0x040A, 0x040C, 0x040B, 0x040F, // 88
    0x0452, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014, // 90
    0x0098, 0x2122, 0x0459, 0x203A, 0x045A, 0x045C, 0x045B, 0x045F, // 98
    0x00A0, 0x040E, 0x045E, 0x0408, 0x00A4, 0x0490, 0x00A6, 0x00A7, // A0
    0x0401, 0x00A9, 0x0404, 0x00AB, 0x00AC, 0x00AD, 0x00AE, 0x0407, // A8
    0x00B0, 0x00B1, 0x0406, 0x0456, 0x0491, 0x00B5, 0x00B6, 0x00B7, // B0
    0x0451, 0x2116, 0x0454, 0x00BB, 0x0458, 0x0405, 0x0455, 0x0457, // B8
    0x0410, 0x0411, 0x0412, 0x0413, 0x0414, 0x0415, 0x0416, 0x0417, // C0
    0x0418, 0x0419, 0x041A, 0x041B, 0x041C, 0x041D, 0x041E, 0x041F, // C8
    0x0420, 0x0421, 0x0422, 0x0423, 0x0424, 0x0425, 0x0426, 0x0427, // D0
    0x0428, 0x0429, 0x042A, 0x042B, 0x042C, 0x042D, 0x042E, 0x042F, // D8
    0x0430, 0x0431, 0x0432, 0x0433, 0x0434, 0x0435, 0x0436, 0x0437, // E0
    0x0438, 0x0439, 0x043A, 0x043B, 0x043C, 0x043D, 0x043E, 0x043F, // E8
    0x0440, 0x0441, 0x0442, 0x0443, 0x0444, 0x0445, 0x0446, 0x0447, // F0
    0x0448, 0x0449, 0x044A, 0x044B, 0x044C, 0x044D, 0x044E, 0x044F, // F8
};

// The cp1251 byte of a character, or -1.
int byteOf(char32_t ch)
{
    if (ch < 0x80)
        return static_cast<int>(ch);
    if (ch >= 0x0410 && ch <= 0x044F) // А..я
        return static_cast<int>(ch - 0x0410 + 0xC0);
    for (std::size_t i = 0; i < 0x40; ++i) // 0x80..0xBF
        if (HighHalf[i] == ch)
            return static_cast<int>(0x80 + i);
    return -1;
}

// Calls f(code point) for every character of the text; an unpaired surrogate is passed as is.
template <typename F> void forEachCodePoint(const QString& text, F f)
{
    const qsizetype n = text.size();
    for (qsizetype i = 0; i < n; ++i) {
        const char16_t c = text.at(i).unicode();
        if (QChar::isHighSurrogate(c) && i + 1 < n && QChar::isLowSurrogate(text.at(i + 1).unicode())) {
            f(QChar::surrogateToUcs4(c, text.at(i + 1).unicode()));
            ++i;
        } else {
            f(static_cast<char32_t>(c));
        }
    }
}

} // namespace

QString toQString(std::string_view cp1251)
{
    QString result;
    result.reserve(static_cast<qsizetype>(cp1251.size()));
    for (char c : cp1251) {
        const auto b = static_cast<unsigned char>(c);
        result.append(QChar(b < 0x80 ? char16_t{b} : HighHalf[b - 0x80]));
    }
    return result;
}

std::string toCp1251(const QString& text)
{
    std::string result;
    result.reserve(static_cast<std::size_t>(text.size()));
    forEachCodePoint(text, [&](char32_t ch) {
        const int b = byteOf(ch);
        result.push_back(b < 0 ? '?' : static_cast<char>(b));
    });
    return result;
}

bool isCp1251Char(char32_t ch)
{
    return byteOf(ch) >= 0;
}

QString sanitizeForCp1251(const QString& text)
{
    // Fast path: most texts are already representable.
    bool clean = true;
    forEachCodePoint(text, [&](char32_t ch) { clean = clean && byteOf(ch) >= 0; });
    if (clean)
        return text;
    QString result;
    result.reserve(text.size());
    forEachCodePoint(text, [&](char32_t ch) {
        if (byteOf(ch) >= 0)
            result.append(QChar(static_cast<char16_t>(ch)));
        else
            result.append(QLatin1Char('?'));
    });
    return result;
}

std::string cp(std::string_view utf8Text)
{
    return toCp1251(QString::fromUtf8(utf8Text.data(), static_cast<qsizetype>(utf8Text.size())));
}

std::string utf8(std::string_view cp1251)
{
    return toQString(cp1251).toUtf8().toStdString();
}

} // namespace zolbin
