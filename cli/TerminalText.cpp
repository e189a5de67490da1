// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/TerminalText.h"

#include "cli/ExitStatus.h"
#include "platform/Codepage.h"

#include <QCoreApplication>
#include <QStringDecoder>
#include <cstdio>

namespace zolbin {

namespace {

std::string codePoint(char32_t ch)
{
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "U+%04X", static_cast<unsigned>(ch));
    return buffer;
}

bool isControl(char32_t ch)
{
    return (ch < 0x20 && ch != '\t') || (ch >= 0x7F && ch <= 0x9F);
}

MessageText fromLines(std::vector<std::string> lines)
{
    MessageText message;
    for (std::size_t i = 0; i < lines.size(); ++i)
        message.text += (i > 0 ? "\r\n" : "") + lines[i];
    if (!lines.empty() && lines.back().empty())
        lines.pop_back();
    message.lines = std::move(lines);
    return message;
}

} // namespace

std::string FromTerminal(const std::string& utf8Text, const std::string& what)
{
    // Stateless: a character cut off at the end is an error, not something to wait for.
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString text =
        decoder.decode(QByteArrayView(utf8Text.data(), static_cast<qsizetype>(utf8Text.size())));
    if (decoder.hasError())
        throw UsageError(
            QCoreApplication::translate("TerminalText", "%1: текст не в кодировке UTF-8").arg(argText(what)));
    const std::u32string points = text.toStdU32String();
    for (const char32_t ch : points) {
        if (isControl(ch))
            throw UsageError(
                QCoreApplication::translate("TerminalText", "%1: недопустимый управляющий символ %2")
                    .arg(argText(what), argText(codePoint(ch))));
        if (!isCp1251Char(ch)) {
            const std::string shown = QString::fromUcs4(&ch, 1).toStdString();
            throw UsageError(
                QCoreApplication::translate(
                    "TerminalText", "%1: символ «%2» (%3) нельзя отправить: его нет в кодировке cp1251")
                    .arg(argText(what), argText(shown), argText(codePoint(ch))));
        }
    }
    return toCp1251(text);
}

std::string ToTerminal(const std::string& cp1251)
{
    std::string text = cp1251;
    while (!text.empty() && (text.back() == '\r' || text.back() == '\n'))
        text.pop_back();
    std::string shown;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto byte = static_cast<unsigned char>(text[i]);
        if (byte == '\r' && i + 1 < text.size() && text[i + 1] == '\n')
            continue;
        if (byte == '\n' || byte == '\t' || !(byte < 0x20 || byte == 0x7F || byte == 0x98))
            shown.push_back(text[i]);
        else
            shown.push_back('?');
    }
    return utf8(shown);
}

MessageText MessageFromWords(const std::vector<std::string>& words)
{
    std::string joined;
    for (std::size_t i = 0; i < words.size(); ++i)
        joined += (i > 0 ? " " : "") + words[i];
    return fromLines(
        {FromTerminal(joined, QCoreApplication::translate("TerminalText", "текст сообщения").toStdString())});
}

MessageText MessageFromInput(const std::string& utf8Input)
{
    std::string input = utf8Input;
    if (input.starts_with("\xEF\xBB\xBF"))
        input.erase(0, 3);
    if (input.ends_with('\n'))
        input.pop_back();
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (int number = 1;; ++number) {
        const std::size_t end = input.find('\n', start);
        std::string line = input.substr(start, end == std::string::npos ? std::string::npos : end - start);
        if (line.ends_with('\r'))
            line.pop_back();
        lines.push_back(
            FromTerminal(line, QCoreApplication::translate("TerminalText", "текст сообщения, строка %1")
                                   .arg(number)
                                   .toStdString()));
        if (end == std::string::npos)
            break;
        start = end + 1;
    }
    return fromLines(std::move(lines));
}

} // namespace zolbin
