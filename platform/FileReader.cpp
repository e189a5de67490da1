// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/FileReader.h"

#include "platform/FileIo.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace zolbin {

FileReader::~FileReader()
{
    if (fd_ >= 0)
        ::close(fd_);
}

int FileReader::open(const std::string& path)
{
    fd_ = OpenRetrying(path.c_str(), O_RDONLY);
    if (fd_ < 0)
        return errno;
    struct stat st
    {
    };
    if (::fstat(fd_, &st) == 0 && st.st_size > 0)
        sizeAtOpen_ = static_cast<std::size_t>(st.st_size);
    buffer_.resize(BufferSize);
    return 0;
}

// Moves what is left to the front and reads until the buffer is full or the file ends.
void FileReader::refill()
{
    const std::size_t left = end_ - begin_;
    if (begin_ > 0 && left > 0)
        std::memmove(buffer_.data(), buffer_.data() + begin_, left);
    begin_ = 0;
    end_ = left;
    while (!atEnd_ && error_ == 0 && end_ < buffer_.size()) {
        const ssize_t n = ::read(fd_, buffer_.data() + end_, buffer_.size() - end_);
        if (n < 0) {
            if (errno != EINTR)
                error_ = errno;
        } else if (n == 0) {
            atEnd_ = true;
        } else {
            end_ += static_cast<std::size_t>(n);
        }
    }
}

std::string_view FileReader::take(std::size_t n)
{
    if (fd_ < 0)
        return {};
    if (end_ - begin_ < n)
        refill();
    const std::size_t got = std::min(n, end_ - begin_);
    const std::string_view bytes(buffer_.data() + begin_, got);
    begin_ += got;
    return bytes;
}

} // namespace zolbin
