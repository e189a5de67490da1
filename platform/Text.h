// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A text of the program's own, kept as what it says rather than in one language: the context and the
// Russian source of a catalogue entry ("%1", "%2" … where its arguments go) and its arguments (cp1251
// data such as a name, numbers, or texts of their own). The logic builds these and never words them; the
// host shows shown(), in the interface's language. The journal, the archive, the outbox and the wire keep
// russian(), the cp1251 bytes, in every language: they are records, not interface.
//
// A text is made by tx(context, source), which lupdate reads as it reads QT_TRANSLATE_NOOP (the catalogues
// are made with -tr-function-alias QT_TRANSLATE_NOOP+=tx), so that its source goes into the catalogue of
// the library that says it:
//     return Failure{FailureCode::SmsText, tx("SmsPdu", "Знак U+%1 нельзя передать в SMS").arg(code)};

#include <QString>
#include <cstdint>
#include <string>
#include <vector>

namespace zolbin {

class Text
{
public:
    // The empty text.
    Text() = default;
    // `context` and `source` (UTF-8) are literals: the text keeps the pointers.
    Text(const char* context, const char* source) : context_(context), source_(source) {}
    // Data that is told as it is, in every language: a peer's reply, another library's message (cp1251).
    static Text verbatim(std::string cp1251);

    // The text with its next argument, for "%n" in the order given: cp1251 bytes, a number, or a text.
    Text arg(const std::string& cp1251) const;
    Text arg(const char* cp1251) const { return arg(std::string(cp1251)); }
    Text arg(long long number) const;
    Text arg(int number) const { return arg(static_cast<long long>(number)); }
    Text arg(const Text& text) const;

    // The two texts one after the other, each worded for itself.
    friend Text operator+(const Text& first, const Text& second);

    bool empty() const { return source_ == nullptr && verbatim_.empty() && arguments_.empty(); }
    // The catalogue's key: the context and the Russian source (UTF-8); null for data told as it is.
    const char* context() const { return context_; }
    const char* source() const { return source_; }

    // In the interface's language: the catalogue's translation of the source with its arguments.
    QString shown() const;
    // The Russian text as cp1251 bytes.
    std::string russian() const;

    friend bool operator==(const Text& a, const Text& b) { return a.russian() == b.russian(); }

private:
    struct Argument
    {
        std::string bytes;       // cp1251 data
        std::vector<Text> texts; // or one text of its own
    };

    const char* context_ = nullptr;
    const char* source_ = nullptr; // null: the verbatim data, or the arguments one after the other
    std::string verbatim_;
    std::vector<Argument> arguments_;
};

inline Text tx(const char* context, const char* source)
{
    return Text(context, source);
}

} // namespace zolbin
