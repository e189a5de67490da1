// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The work journal "Zolbin.log": cp1251 lines ending with CR LF, only ever appended. Every write opens
// the file, writes and closes it again; no handle stays open between writes. A line goes in whole or not
// at all.

#include "platform/DataFolder.h"
#include "platform/Result.h"

#include <string>

namespace zolbin {

inline constexpr const char* JournalFileName = "Zolbin.log";

class TJournal final
{
public:
    // The journal at the path, which its messages name as it is given.
    explicit TJournal(std::string path);
    // "Zolbin.log" of the data folder.
    explicit TJournal(const DataFolder& folder);

    // The name the messages show.
    const std::string& fileName() const { return fileName_; }
    // Where the journal is opened.
    const std::string& path() const { return path_; }

    // Creates the file empty when it does not exist.
    Status EnsureExists() const;
    // Appends one line (CR LF added); fails when the file cannot be opened or written.
    Status WriteLine(const std::string& line) const;
    // Appends one empty line: the end of one recipient's block.
    Status WriteEmptyLine() const { return WriteLine(std::string()); }

    // The same for a sending that must go on to learn what the server did even when the journal cannot
    // take its lines: false when the line was not written, and the I/O code of the first such failure is
    // kept until ClearFailure().
    bool Append(const std::string& line) const;
    bool AppendEmptyLine() const { return Append(std::string()); }
    // The I/O code of the first failed Append since the last ClearFailure(), 0 when none failed.
    int Failure() const { return failure_; }
    void ClearFailure() const { failure_ = 0; }

private:
    std::string fileName_;
    std::string path_;
    mutable int failure_ = 0;
};

} // namespace zolbin
