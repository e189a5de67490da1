// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A file read front to back through a buffer of its own, for loaders that take it piece by piece: the
// memory a read needs does not grow with the file.

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace zolbin {

class FileReader final
{
public:
    static constexpr std::size_t BufferSize = 64 * 1024;

    FileReader() = default;
    ~FileReader();
    FileReader(const FileReader&) = delete;
    FileReader& operator=(const FileReader&) = delete;

    // Returns 0, or the errno of the failed open.
    int open(const std::string& path);
    // The size the file had when opened (a hint only: it may change while it is read).
    std::size_t sizeAtOpen() const { return sizeAtOpen_; }
    // The next n bytes (n at most BufferSize); fewer only at the end of the file or when a read failed
    // (error() tells which). The view lasts until the next take.
    std::string_view take(std::size_t n);
    // 0, or the errno of a read that failed; the file then counts as unreadable.
    int error() const { return error_; }

private:
    void refill();

    int fd_ = -1;
    std::size_t sizeAtOpen_ = 0;
    std::vector<char> buffer_;
    std::size_t begin_ = 0; // first unread byte in buffer_
    std::size_t end_ = 0;   // end of the bytes read into buffer_
    bool atEnd_ = false;
    int error_ = 0;
};

} // namespace zolbin
