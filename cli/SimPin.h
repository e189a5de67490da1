// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What zolbin-send needs for companies that page by SMS: the SIM's PIN from the file named by
// --sim-pin-file (under the rules of the SMTP password file) or else from the desktop's secret store (the
// check of such a company is dispatch/RecipientChecks').

#include <functional>
#include <optional>
#include <ostream>
#include <string>

namespace zolbin {

struct Session;

// The PIN in the file's first line; nullopt without the option. Throws a usage error, before anything is
// sent, when the file cannot be read, others may read it, or the line is not 4 to 8 digits.
std::optional<std::string> SimPinFromFile(const std::optional<std::string>& option);

// The file's PIN, else the secret store's under the GSM device (asked only when the SIM wants a PIN).
std::function<std::string()> SimPinSource(std::optional<std::string> filePin, const Session& session,
                                          std::ostream& err);

} // namespace zolbin
