#pragma once
// Exceptions that still end the send command from inside its steps (a bad service date, a code table cut
// short, a journal that fails during a dialogue); the send command catches them and shows their text.
// Everything else that can fail returns a Result (platform/Result.h). Texts are code page 1251 bytes,
// exactly as they are shown to the operator.

#include <stdexcept>
#include <string>

namespace zolbin {

class EZolbinError : public std::runtime_error
{
public:
    explicit EZolbinError(const std::string& cp1251Text) : std::runtime_error(cp1251Text) {}
    // The text to show, in code page 1251.
    std::string text() const { return what(); }
};

// A failed file operation; code is the program's I/O code (2, 3, 4, 5, 100, 101, 106 or another).
class EInOutError : public EZolbinError
{
public:
    explicit EInOutError(int code);
    int code() const { return code_; }

private:
    int code_;
};

// Text typed where a number or a date is needed and which does not convert.
class EConvertError : public EZolbinError
{
public:
    using EZolbinError::EZolbinError;
};

} // namespace zolbin
