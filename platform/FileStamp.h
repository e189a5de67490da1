// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What tells one version of a file from another without reading it: the device and inode it lives on,
// its size and its modification time to the nanosecond. A rewrite through a temporary file gives a new
// inode; an append or an edit in place gives a new size or time.

#include <cstdint>
#include <string>

namespace zolbin {

struct FileStamp
{
    bool exists = false; // false also when the file cannot be looked at
    std::uint64_t device = 0;
    std::uint64_t inode = 0;
    std::int64_t size = 0;
    std::int64_t modifiedSeconds = 0;
    std::int64_t modifiedNanoseconds = 0;

    friend bool operator==(const FileStamp&, const FileStamp&) = default;
};

// The stamp of the file as it is now; every missing file has the same stamp.
FileStamp fileStampOf(const std::string& path);

} // namespace zolbin
