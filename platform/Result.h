// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What an operation that can fail gives back: its value, or the failure with the program's error number
// and what to tell of it (a Text with its arguments). The logic layers return these and never talk to the
// operator; the host (a window, or zolbin-send) decides how to tell of a failure and words it (shown());
// the journal and the outbox keep its Russian (russian()).

#include "platform/Text.h"

#include <string>
#include <utility>
#include <variant>

namespace zolbin {

struct Failure
{
    int code = 0; // the program's I/O code (2, 5, 101, …), or another error number of its kind
    Text text;    // what is told of it

    // In the interface's language, for the operator.
    QString shown() const { return text.shown(); }
    // In Russian, cp1251: the journal's and the outbox's record of it.
    std::string russian() const { return text.russian(); }

    // The failure of a file operation with the program's I/O code, with that code's text.
    static Failure io(int ioCode);
    // The same from the errno of a failed system call.
    static Failure fromErrno(int err);
};

template <typename T> class [[nodiscard]] Result
{
public:
    Result(T value) : state_(std::move(value)) {}
    Result(Failure failure) : state_(std::move(failure)) {}

    bool ok() const { return state_.index() == 0; }
    explicit operator bool() const { return ok(); }

    T& value() & { return std::get<0>(state_); }
    const T& value() const& { return std::get<0>(state_); }
    T&& value() && { return std::get<0>(std::move(state_)); }
    const Failure& failure() const { return std::get<1>(state_); }

private:
    std::variant<T, Failure> state_;
};

template <> class [[nodiscard]] Result<void>
{
public:
    Result() = default;
    Result(Failure failure) : failed_(true), failure_(std::move(failure)) {}

    bool ok() const { return !failed_; }
    explicit operator bool() const { return ok(); }
    const Failure& failure() const { return failure_; }

private:
    bool failed_ = false;
    Failure failure_;
};

using Status = Result<void>;

// The program's own error numbers for failures that are not I/O errors. They stay clear of the I/O codes
// (below 1000, and 1000 + errno) and of the socket errors (10000 and up).
namespace FailureCode {
inline constexpr int BadNumber = 2001;       // a text that is no whole number
inline constexpr int ListFileChanged = 2002; // a list file changed on disk behind the list's back
inline constexpr int BadDateTime = 2003;     // a text that is no valid date or time
inline constexpr int Tls = 2004;             // a TLS handshake or certificate check that failed
inline constexpr int SerialLine = 2005;      // a serial device that cannot be opened, set up or used
inline constexpr int Outbox = 2006;          // the outbox cannot be opened, read or written
inline constexpr int SmsText = 2007;         // a text that cannot go as SMS
inline constexpr int Directory = 2008;       // the room's directory refused an edit, or is away
} // namespace FailureCode

} // namespace zolbin
