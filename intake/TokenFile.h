// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The HTTP intake's tokens: one token a line, the file only its owner's, as the password files. After the
// token, a line may name who uses it ("3f9c…e1 grafana"), for the journal; empty lines and lines beginning
// with '#' are skipped.

#include "platform/Result.h"

#include <string>
#include <vector>

namespace zolbin {

struct HttpToken
{
    std::string secret;
    std::string name; // may be empty
};

// Refuses a file that is no regular file, that others may read or write, that cannot be read, or that
// holds no token.
Result<std::vector<HttpToken>> LoadTokenFile(const std::string& path);

} // namespace zolbin
