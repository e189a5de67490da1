// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Makes every write that would grow a regular file beyond the given size fail with EFBIG, for as long
// as the object lives. Unlike a read-only folder this works for the superuser too.

#include <csignal>
#include <sys/resource.h>

namespace zolbin::test {

class FileSizeLimit
{
public:
    explicit FileSizeLimit(rlim_t bytes)
    {
        ok_ = getrlimit(RLIMIT_FSIZE, &previous_) == 0;
        oldHandler_ = std::signal(SIGXFSZ, SIG_IGN);
        rlimit limit = previous_;
        limit.rlim_cur = bytes;
        ok_ = ok_ && setrlimit(RLIMIT_FSIZE, &limit) == 0;
    }
    ~FileSizeLimit()
    {
        setrlimit(RLIMIT_FSIZE, &previous_);
        std::signal(SIGXFSZ, oldHandler_);
    }
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;

    bool active() const { return ok_; }

private:
    rlimit previous_{};
    void (*oldHandler_)(int) = nullptr;
    bool ok_ = false;
};

} // namespace zolbin::test
