// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The SNPP users file: one "user:password" a line; the file only its owner's, as the password files.

#include "platform/Result.h"

#include <map>
#include <string>

namespace zolbin {

class SnppUsers
{
public:
    // Refuses a file that is no regular file, that others may read or write, or that cannot be read.
    static Result<SnppUsers> load(const std::string& path);
    static SnppUsers of(std::map<std::string, std::string> passwords);

    bool accepts(const std::string& user, const std::string& password) const;
    std::size_t size() const { return passwords_.size(); }

private:
    std::map<std::string, std::string> passwords_;
};

} // namespace zolbin
