// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A profile (INI) file read and written key by key, with no cache: every read opens the file, every
// write rewrites it at once. Section and key names match ignoring letter case; the text is cp1251 and
// lines end with CR LF. A write replaces the key's line or adds it, adding the section when missing.

#include "platform/Result.h"

#include <string>
#include <vector>

namespace zolbin {

class ProfileFile final
{
public:
    explicit ProfileFile(std::string path);

    const std::string& path() const { return path_; }

    // The value of section/key, at most 2047 characters, or def when the key (or the file) is missing.
    std::string readString(const std::string& section, const std::string& key, const std::string& def) const;

    // Writes section/key = value at once. A failure carries the I/O code of what went wrong and the
    // text "Unable to write to <path>"; the file is then as it was.
    Status writeString(const std::string& section, const std::string& key, const std::string& value);

    struct Entry
    {
        std::string section;
        std::string key;
        std::string value;
    };
    // Writes every entry, in their order, in one rewrite of the file: the file then reads as the writes
    // one by one would leave it, or, on failure, as it was.
    Status writeStrings(const std::vector<Entry>& entries);

private:
    std::string path_;
};

} // namespace zolbin
