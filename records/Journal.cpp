// SPDX-License-Identifier: GPL-3.0-or-later
#include "records/Journal.h"

#include "platform/FileIo.h"

#include <utility>

namespace zolbin {

TJournal::TJournal(std::string path) : fileName_(std::move(path)), path_(fileName_) {}

TJournal::TJournal(const DataFolder& folder) : fileName_(JournalFileName), path_(folder.path(JournalFileName))
{
}

Status TJournal::EnsureExists() const
{
    return createIfMissing(path_);
}

Status TJournal::WriteLine(const std::string& line) const
{
    // One open, write and close per line, so that the viewer and other programs can read the journal
    // between writes. A journal deleted in the middle of a send is created again by this append rather
    // than ending the send halfway (the page may already be with the company's server by then).
    return appendToFile(path_, line + "\r\n");
}

bool TJournal::Append(const std::string& line) const
{
    const Status written = WriteLine(line);
    if (!written && failure_ == 0)
        failure_ = written.failure().code;
    return written.ok();
}

} // namespace zolbin
