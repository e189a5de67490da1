// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What zolbin-send needs for companies that page by SMS: the SIM's PIN from the file named by
// --sim-pin-file (under the rules of the SMTP password file) or else from the desktop's secret store, and
// the check of such a company before anything is sent.

#include <functional>
#include <optional>
#include <ostream>
#include <string>

namespace zolbin {

struct Session;
struct TProvider;

// The PIN in the file's first line; nullopt without the option. Throws a usage error, before anything is
// sent, when the file cannot be read, others may read it, or the line is not 4 to 8 digits.
std::optional<std::string> SimPinFromFile(const std::optional<std::string>& option);

// The file's PIN, else the secret store's under the GSM device (asked only when the SIM wants a PIN).
std::function<std::string()> SimPinSource(std::optional<std::string> filePin, const Session& session,
                                          std::ostream& err);

// Throws a usage error (naming the company as quoted for the terminal) when the company's number pattern
// makes no phone number or no GSM device is set.
void CheckSmsCompany(const std::string& who, const std::string& quotedName, const TProvider& company,
                     const Session& session);

} // namespace zolbin
