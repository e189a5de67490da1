#include "records/Journal.h"

#include "platform/Errors.h"
#include "platform/FileIo.h"
#include "platform/IoError.h"

#include <utility>

namespace zolbin {

TJournal::TJournal(std::string fileName) : fileName_(std::move(fileName)) {}

void TJournal::EnsureExists() const
{
    createIfMissing(fileName_);
}

void TJournal::WriteLine(const std::string& line) const
{
    // One open, write and close per line, so that the viewer and other programs can read the journal
    // between writes. A journal deleted in the middle of a send is created again by this append rather
    // than ending the send halfway (the page may already be with the company's server by then).
    appendToFile(fileName_, line + "\r\n");
}

bool TJournal::Append(const std::string& line) const
{
    try {
        if (const int err = tryAppendToFile(fileName_, line + "\r\n"))
            raiseErrno(err);
        return true;
    } catch (const EInOutError& error) {
        if (failure_ == 0)
            failure_ = error.code();
        return false;
    }
}

} // namespace zolbin
