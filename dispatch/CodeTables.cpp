// SPDX-License-Identifier: GPL-3.0-or-later
#include "dispatch/CodeTables.h"

#include "platform/FileIo.h"
#include "platform/IoError.h"

#include <array>
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace zolbin {

namespace {

using Table = std::array<unsigned char, 256>;

class FileCloser
{
public:
    explicit FileCloser(int fd) : fd_(fd) {}
    ~FileCloser() { ::close(fd_); }
    FileCloser(const FileCloser&) = delete;
    FileCloser& operator=(const FileCloser&) = delete;

private:
    int fd_;
};

// Reads the first 256 bytes of the table file. False when the file cannot be opened (the text is then
// sent unchanged); a file shorter than a whole table is a read beyond its end.
Result<bool> readTable(const DataFolder& folder, const char* fileName, Table& table)
{
    const std::string path = findDataFile(folder, fileName);
    const int fd = OpenRetrying(path.c_str(), O_RDONLY);
    if (fd < 0)
        return false;
    FileCloser closer(fd);

    struct stat st
    {
    };
    if (::fstat(fd, &st) != 0 || S_ISDIR(st.st_mode))
        return false; // a folder of that name cannot be opened as a file either

    std::size_t got = 0;
    while (got < table.size()) {
        const ssize_t n = ::read(fd, table.data() + got, table.size() - got);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return Failure::fromErrno(errno);
        }
        if (n == 0)
            return Failure::io(IoCode::ReadBeyondEnd);
        got += static_cast<std::size_t>(n);
    }
    return true;
}

Status convert(const DataFolder& folder, const char* tableFile, std::string& text)
{
    Table table;
    const Result<bool> read = readTable(folder, tableFile, table);
    if (!read)
        return read.failure();
    if (!read.value())
        return {};
    for (char& c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte >= 0x80)
            c = static_cast<char>(table[byte]);
    }
    return {};
}

} // namespace

Status ToKoi8r(const DataFolder& folder, std::string& text)
{
    return convert(folder, KoiTableFileName, text);
}

Status ToCp866(const DataFolder& folder, std::string& text)
{
    return convert(folder, DosTableFileName, text);
}

Status ConvertForCharset(const DataFolder& folder, const std::string& charset, std::string& text)
{
    if (charset == "KOI8-R")
        return ToKoi8r(folder, text);
    if (charset == "DOS")
        return ToCp866(folder, text);
    return {};
}

std::string CharsetHeaderName(const std::string& charset)
{
    if (charset == "KOI8-R")
        return "koi8-r";
    if (charset == "DOS")
        return "cp866";
    if (charset == "WIN-1251")
        return "cp1251";
    return std::string();
}

} // namespace zolbin
