// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The exit statuses of zolbin-send and the error that ends it early with one of them.

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

} // namespace zolbin
