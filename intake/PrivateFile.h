// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A file of secrets (the SNPP users, the HTTP tokens): read whole, and only when it is a regular file that
// no one but its owner may read or write, as the password files.

#include "platform/Result.h"

#include <string>

namespace zolbin {

// The file's bytes. The failure says why the file is not taken (without its name: the caller names it).
Result<std::string> ReadPrivateFile(const std::string& path);

} // namespace zolbin
