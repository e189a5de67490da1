// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A lock on a file (exclusive, or shared with other shared holders), held from take() until release() or
// until the object goes. The lock belongs to the open
// file, so the system drops it with the process however the process ends (a crash or kill -9 included):
// no stale lock is ever left behind, and the lock file itself may stay where it is.

#include <string>

namespace zolbin {

class FileLock final
{
public:
    enum class Result
    {
        Taken,      // held by this object now
        Busy,       // another holder has it (another process, or another FileLock on the same file)
        Unavailable // the lock file cannot be opened or created; error() tells why
    };

    enum class Mode
    {
        Exclusive,
        Shared
    };

    FileLock() = default;
    ~FileLock();
    FileLock(const FileLock&) = delete;
    FileLock& operator=(const FileLock&) = delete;

    // Opens (creating when missing) and locks the file without waiting.
    Result take(const std::string& path, Mode mode = Mode::Exclusive);
    void release();
    bool held() const { return fd_ >= 0; }
    int error() const { return error_; } // errno of an Unavailable result

private:
    int fd_ = -1;
    int error_ = 0;
};

} // namespace zolbin
