// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/ui/KeyPositions.h"

#include "platform/Codepage.h"

#include <QGuiApplication>
#include <QKeyEvent>
#include <string>
#include <string_view>

namespace zolbin {

namespace {

// A Russian keyboard types the letter at position n of the second string with the key that a US
// keyboard marks with the character at position n of the first.
constexpr std::string_view LatinKeys = "qwertyuiopasdfghjklzxcvbnm,.[];'";
constexpr std::string_view CyrillicKeysUtf8 = "йцукенгшщзфывапролдячсмитьбюхъжэ";

const std::string& cyrillicKeys()
{
    static const std::string keys = cp(CyrillicKeysUtf8); // 32 cp1251 bytes
    return keys;
}

// The positions of the xkb keycodes (the Linux input codes plus 8) of the keys, row by row.
struct KeycodeRow
{
    quint32 first;
    std::string_view keys;
};
constexpr KeycodeRow KeycodeRows[] = {
    {10, "1234567890"},
    {24, "qwertyuiop[]"},
    {38, "asdfghjkl;'"},
    {52, "zxcvbnm,."},
};

char positionOfKeycode(quint32 keycode)
{
    for (const KeycodeRow& row : KeycodeRows)
        if (keycode >= row.first && keycode - row.first < row.keys.size())
            return row.keys[keycode - row.first];
    return 0;
}

char positionOfQtKey(int qtKey)
{
    if (qtKey >= Qt::Key_A && qtKey <= Qt::Key_Z)
        return static_cast<char>('a' + (qtKey - Qt::Key_A));
    if (qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9)
        return static_cast<char>('0' + (qtKey - Qt::Key_0));
    switch (qtKey) {
    case Qt::Key_Semicolon:
        return ';';
    case Qt::Key_Comma:
        return ',';
    case Qt::Key_Period:
        return '.';
    case Qt::Key_BracketLeft:
        return '[';
    case Qt::Key_BracketRight:
        return ']';
    case Qt::Key_Apostrophe:
        return '\'';
    default:
        break;
    }
    // A Cyrillic layout reports the letter on the key (capital or small): back to its key.
    const char32_t small =
        qtKey >= 0x410 && qtKey <= 0x42F ? static_cast<char32_t>(qtKey + 0x20) : static_cast<char32_t>(qtKey);
    if (small < 0x430 || small > 0x44F)
        return 0;
    const std::string letter = toCp1251(QString(QChar(static_cast<char16_t>(small))));
    const std::size_t at = cyrillicKeys().find(letter);
    return at == std::string::npos ? 0 : LatinKeys[at];
}

// X11 and Wayland report xkb keycodes as the native scan codes; elsewhere they mean something else.
bool scanCodesAreXkb()
{
    if (qGuiApp == nullptr)
        return false;
    const QString platform = QGuiApplication::platformName();
    return platform == QLatin1String("xcb") || platform.startsWith(QLatin1String("wayland"));
}

} // namespace

char KeyPosition(int qtKey, quint32 xkbKeycode)
{
    if (xkbKeycode != 0)
        return positionOfKeycode(xkbKeycode);
    return positionOfQtKey(qtKey);
}

char KeyPositionOf(const QKeyEvent& key)
{
    return KeyPosition(key.key(), scanCodesAreXkb() ? key.nativeScanCode() : 0);
}

char LetterPosition(QChar letter)
{
    return positionOfQtKey(letter.toUpper().unicode());
}

char CyrillicOnPosition(char position)
{
    const std::size_t at = LatinKeys.find(position);
    return position == 0 || at == std::string_view::npos ? 0 : cyrillicKeys()[at];
}

} // namespace zolbin
