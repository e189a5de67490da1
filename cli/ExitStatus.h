// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The exit statuses of zolbin-send and the error that ends it early with one of them.

#include <QString>
#include <stdexcept>
#include <string>

namespace zolbin {

namespace ExitStatus {
inline constexpr int Accepted = 0;    // every page was accepted
inline constexpr int NotAccepted = 1; // at least one page was not accepted
inline constexpr int Usage = 2;       // a usage or configuration error: nothing was sent
inline constexpr int FileError = 3;   // a data file could not be read, or the journal or an archive
                                      // could not be written (the pages reached were all accepted)
} // namespace ExitStatus

// Ends zolbin-send before anything is sent; the message is UTF-8, ready for the terminal.
class CliError final : public std::runtime_error
{
public:
    CliError(int status, const std::string& utf8Message) : std::runtime_error(utf8Message), status_(status) {}
    int status() const { return status_; }

private:
    int status_;
};

inline CliError UsageError(const std::string& utf8Message)
{
    return CliError(ExitStatus::Usage, utf8Message);
}

inline CliError FileError(const std::string& utf8Message)
{
    return CliError(ExitStatus::FileError, utf8Message);
}

inline CliError UsageError(const char* utf8Message)
{
    return UsageError(std::string(utf8Message));
}

inline CliError FileError(const char* utf8Message)
{
    return FileError(std::string(utf8Message));
}

// The same with a text in the interface's language.
inline CliError UsageError(const QString& message)
{
    return UsageError(message.toStdString());
}

inline CliError FileError(const QString& message)
{
    return FileError(message.toStdString());
}

// A UTF-8 argument of such a text.
inline QString argText(const std::string& utf8Text)
{
    return QString::fromStdString(utf8Text);
}

} // namespace zolbin
