// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Where zolbin-send takes the SMTP login's password from: the file named by --smtp-password-file, else by
// the environment variable ZOLBIN_SMTP_PASSWORD_FILE, else the desktop's secret store.

#include "platform/Text.h"

#include <optional>
#include <string>

namespace zolbin {

inline constexpr const char* PasswordFileVariable = "ZOLBIN_SMTP_PASSWORD_FILE";

// The first line of the password file (without its line end): the option's file, else the environment's
// (nullptr or empty: none). Nullopt when neither names a file. Throws a usage error, before anything is
// sent, when the file cannot be read or its group or others have any permission on it.
// The first line of a secret's file, under the same rules; `kind` names the file in the messages.
std::string SecretFileFirstLine(const std::string& name, const Text& kind);

std::optional<std::string> SmtpPasswordFromFile(const std::optional<std::string>& option,
                                                const char* environment);

} // namespace zolbin
