// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/Text.h"

#include "platform/Codepage.h"

#include <QCoreApplication>

namespace zolbin {

namespace {

char32_t codeOf(char c)
{
    return static_cast<unsigned char>(c);
}

char32_t codeOf(QChar c)
{
    return c.unicode();
}

// Puts each argument in the place of its "%n" (n from 1) in one pass, so that an argument holding "%2"
// is never filled in itself; a "%n" without an argument stays.
template <typename String, typename Word>
String filled(const String& pattern, std::size_t count, const Word& word)
{
    String out;
    for (qsizetype i = 0; i < static_cast<qsizetype>(pattern.size()); ++i) {
        const auto at = [&pattern](qsizetype k) { return codeOf(pattern[k]); };
        qsizetype end = i + 1;
        std::size_t n = 0;
        if (at(i) == U'%')
            while (end < static_cast<qsizetype>(pattern.size()) && at(end) >= U'0' && at(end) <= U'9' &&
                   end - i <= 2)
                n = n * 10 + (at(end++) - U'0');
        if (n >= 1 && n <= count) {
            out += word(n - 1);
            i = end - 1;
        } else {
            out += pattern[i];
        }
    }
    return out;
}

} // namespace

Text Text::verbatim(std::string cp1251)
{
    Text text;
    text.verbatim_ = std::move(cp1251);
    return text;
}

Text Text::arg(const std::string& cp1251) const
{
    Text text = *this;
    text.arguments_.push_back({cp1251, {}});
    return text;
}

Text Text::arg(long long number) const
{
    return arg(std::to_string(number));
}

Text Text::arg(const Text& argument) const
{
    Text text = *this;
    text.arguments_.push_back({{}, {argument}});
    return text;
}

Text operator+(const Text& first, const Text& second)
{
    Text text;
    text.arguments_.push_back({{}, {first}});
    text.arguments_.push_back({{}, {second}});
    return text;
}

QString Text::shown() const
{
    if (source_ == nullptr) {
        QString joined = toQString(verbatim_);
        for (const Argument& a : arguments_)
            joined += a.texts.front().shown();
        return joined;
    }
    return filled(QCoreApplication::translate(context_, source_), arguments_.size(), [this](std::size_t k) {
        const Argument& a = arguments_[k];
        return a.texts.empty() ? toQString(a.bytes) : a.texts.front().shown();
    });
}

std::string Text::russian() const
{
    if (source_ == nullptr) {
        std::string joined = verbatim_;
        for (const Argument& a : arguments_)
            joined += a.texts.front().russian();
        return joined;
    }
    return filled(cp(source_), arguments_.size(), [this](std::size_t k) {
        const Argument& a = arguments_[k];
        return a.texts.empty() ? a.bytes : a.texts.front().russian();
    });
}

} // namespace zolbin
