// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/FileIo.h"

#include "platform/FileStamp.h"

#include <QCoreApplication>
#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <filesystem>
#include <random>
#include <stdio.h>
#include <sys/stat.h>
#include <unistd.h>

namespace zolbin {

namespace {

// Writes all bytes, resuming after interruptions and partial writes. Returns 0 or errno; `written`
// counts the bytes that did reach the file.
int writeAll(int fd, std::string_view bytes, std::size_t* written = nullptr)
{
    const char* p = bytes.data();
    std::size_t left = bytes.size();
    int err = 0;
    while (left > 0) {
        const ssize_t n = ::write(fd, p, left);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            err = errno;
            break;
        }
        if (n == 0) {
            err = ENOSPC;
            break;
        }
        p += n;
        left -= static_cast<std::size_t>(n);
    }
    if (written != nullptr)
        *written = bytes.size() - left;
    return err;
}

// Appends the bytes whole or not at all: after a short write (a full disk, a size limit) the file is cut
// back to where this append began, so that no torn line is left for the next append to be glued onto.
// A file another writer has appended to meanwhile is left as it is rather than cut into their bytes.
int appendWhole(int fd, std::string_view bytes)
{
    std::size_t written = 0;
    const int err = writeAll(fd, bytes, &written);
    if (err == 0 || written == 0)
        return err;
    // With O_APPEND the offset after the last write is the end of what this append wrote.
    const off_t end = ::lseek(fd, 0, SEEK_CUR);
    struct stat st
    {
    };
    if (end >= 0 && ::fstat(fd, &st) == 0 && st.st_size == end)
        (void)::ftruncate(fd, end - static_cast<off_t>(written));
    return err;
}

// The folder part of a path ("." for a bare name).
std::string folderOf(const std::string& path)
{
    const auto slash = path.rfind('/');
    if (slash == std::string::npos)
        return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

// Syncs the folder holding the file, so that a rename in it is durable: 0 or the errno (none when the
// folder cannot be opened).
int syncFolderOf(const std::string& path)
{
    const int dir = OpenRetrying(folderOf(path).c_str(), O_RDONLY | O_DIRECTORY);
    if (dir < 0)
        return 0;
    const int err = ::fsync(dir) != 0 && errno != EINVAL ? errno : 0;
    ::close(dir);
    return err;
}

std::string randomSuffix()
{
    static std::mt19937 gen{std::random_device{}()};
    static constexpr char Alphabet[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
    std::uniform_int_distribution<std::size_t> pick(0, sizeof(Alphabet) - 2);
    std::string s(6, 'x');
    for (char& c : s)
        c = Alphabet[pick(gen)];
    return s;
}

} // namespace

bool fileExists(const std::string& path)
{
    struct stat st
    {
    };
    return ::stat(path.c_str(), &st) == 0;
}

int OpenRetrying(const char* path, int flags, unsigned mode)
{
    int fd;
    do
        fd = ::open(path, flags | O_CLOEXEC, static_cast<mode_t>(mode));
    while (fd < 0 && errno == EINTR);
    return fd;
}

int readWholeFile(const std::string& path, std::string& out)
{
    out.clear();
    const int fd = OpenRetrying(path.c_str(), O_RDONLY);
    if (fd < 0)
        return errno;
    // Read straight into a buffer of the file's size; a file that grows meanwhile is read to its end.
    struct stat st
    {
    };
    std::size_t size = ::fstat(fd, &st) == 0 && st.st_size > 0 ? static_cast<std::size_t>(st.st_size) : 0;
    out.resize(size + 1);
    std::size_t have = 0;
    int err = 0;
    for (;;) {
        if (have == out.size())
            out.resize(out.size() * 2 + 65536);
        const ssize_t n = ::read(fd, out.data() + have, out.size() - have);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            err = errno;
            break;
        }
        if (n == 0)
            break;
        have += static_cast<std::size_t>(n);
    }
    ::close(fd);
    out.resize(err != 0 ? 0 : have);
    return err;
}

// ---------------------------------------------------------------------------------------------------

AtomicWriter::AtomicWriter(std::string path) : path_(std::move(path)) {}

AtomicWriter::~AtomicWriter()
{
    if (fd_ >= 0)
        ::close(fd_);
    if (!committed_ && !tempPath_.empty())
        ::unlink(tempPath_.c_str());
}

Status AtomicWriter::open()
{
    if (fd_ >= 0)
        return {};
    if (path_.empty())
        return Failure::fromErrno(ENOENT);
    // The target must be a place a file can be created: a folder there (or an unreachable folder)
    // fails now, as creating the file itself would.
    struct stat target
    {
    };
    const bool targetExists = ::stat(path_.c_str(), &target) == 0;
    if (targetExists && S_ISDIR(target.st_mode))
        return Failure::fromErrno(EISDIR);
    // A file the user may not write (say, protected with chmod 444) is not replaced behind that
    // protection by renaming a new file over it: the save fails as opening it for writing would.
    if (targetExists && ::faccessat(AT_FDCWD, path_.c_str(), W_OK, AT_EACCESS) != 0)
        return Failure::fromErrno(errno);

    const std::string folder = folderOf(path_);
    const std::string base = path_.substr(path_.rfind('/') == std::string::npos ? 0 : path_.rfind('/') + 1);
    for (int attempt = 0; attempt < 100; ++attempt) {
        std::string candidate = folder + "/." + base + ".tmp" + randomSuffix();
        const int fd = OpenRetrying(candidate.c_str(), O_WRONLY | O_CREAT | O_EXCL);
        if (fd >= 0) {
            fd_ = fd;
            tempPath_ = std::move(candidate);
            // The new file keeps the permissions of the one it replaces.
            if (targetExists)
                (void)::fchmod(fd_, target.st_mode & 07777);
            return {};
        }
        if (errno != EEXIST)
            return Failure::fromErrno(errno);
    }
    return Failure::fromErrno(EEXIST);
}

Status AtomicWriter::write(std::string_view bytes)
{
    if (fd_ < 0)
        return Failure::fromErrno(EBADF);
    if (const int err = writeAll(fd_, bytes))
        return Failure::fromErrno(err);
    return {};
}

Status AtomicWriter::commit(bool synced)
{
    if (fd_ < 0)
        return Failure::fromErrno(EBADF);
    int err = 0;
    if (synced && ::fsync(fd_) != 0 && errno != EINVAL)
        err = errno;
    if (::close(fd_) != 0 && err == 0 && errno != EINTR)
        err = errno;
    fd_ = -1;
    if (err == 0 && !synced)
        err = replaceKeeping();
    else if (err == 0 && ::rename(tempPath_.c_str(), path_.c_str()) != 0)
        err = errno;
    if (err != 0)
        return Failure::fromErrno(err); // the destructor removes the temporary file
    committed_ = true;
    if (!synced)
        return {};
    // Make the rename itself durable; a failure here no longer affects the contents.
    (void)syncFolderOf(path_);
    return {};
}

int AtomicWriter::replaceKeeping()
{
    const std::string previous = PreviousFileOf(path_);
    const bool keep = !fileExists(previous);
    // The new file takes the target's name and the temporary name gets the file it replaced, in one step.
    if (::renameat2(AT_FDCWD, tempPath_.c_str(), AT_FDCWD, path_.c_str(), RENAME_EXCHANGE) == 0) {
        committed_ = true;
        // The new file is in place whatever happens to the old one now.
        if (!keep || ::rename(tempPath_.c_str(), previous.c_str()) != 0)
            (void)::unlink(tempPath_.c_str());
        return 0;
    }
    if (errno != ENOENT && errno != EINVAL && errno != ENOSYS)
        return errno;
    // No file to replace, or a file system that cannot swap names: a hard link keeps the old one.
    if (keep && fileExists(path_) && ::link(path_.c_str(), previous.c_str()) != 0)
        return errno;
    return ::rename(tempPath_.c_str(), path_.c_str()) == 0 ? 0 : errno;
}

// ---------------------------------------------------------------------------------------------------

Status rewriteWholeFile(const std::string& path, std::string_view bytes, bool synced)
{
    AtomicWriter writer(path);
    Status written = writer.open();
    if (written)
        written = writer.write(bytes);
    if (written)
        written = writer.commit(synced);
    return written;
}

std::string PreviousFileOf(const std::string& path)
{
    return path + ".previous";
}

Status DropPreviousFile(const std::string& path)
{
    if (::unlink(PreviousFileOf(path).c_str()) != 0 && errno != ENOENT)
        return Failure::fromErrno(errno);
    return {};
}

Status syncFile(const std::string& path)
{
    const int fd = OpenRetrying(path.c_str(), O_RDONLY);
    if (fd < 0)
        return Failure::fromErrno(errno);
    int err = ::fsync(fd) != 0 && errno != EINVAL ? errno : 0;
    ::close(fd);
    if (const int folderErr = syncFolderOf(path); err == 0)
        err = folderErr;
    return err == 0 ? Status{} : Status{Failure::fromErrno(err)};
}

Status appendToFile(const std::string& path, std::string_view bytes)
{
    const int fd = OpenRetrying(path.c_str(), O_WRONLY | O_APPEND | O_CREAT);
    if (fd < 0)
        return Failure::fromErrno(errno);
    if (const int err = appendWhole(fd, bytes)) {
        ::close(fd);
        return Failure::fromErrno(err);
    }
    if (::close(fd) != 0 && errno != EINTR)
        return Failure::fromErrno(errno);
    return {};
}

Status createIfMissing(const std::string& path)
{
    if (fileExists(path))
        return {};
    const int fd = OpenRetrying(path.c_str(), O_WRONLY | O_CREAT | O_EXCL);
    if (fd < 0)
        return errno == EEXIST ? Status() : Status(Failure::fromErrno(errno));
    ::close(fd);
    return {};
}

std::string baseNameOf(const std::string& path)
{
    const auto slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

namespace {

bool allOf(std::string_view text, bool (*test)(char))
{
    return !text.empty() && std::all_of(text.begin(), text.end(), test);
}

// An earlier copy of the damaged file that holds exactly these bytes (path + ".bad" or ".bad.N"), or "".
std::string copyHolding(const std::string& path, const std::string& bytes)
{
    const std::string stem = baseNameOf(path) + ".bad";
    std::error_code ec;
    for (std::filesystem::directory_iterator it(folderOf(path), ec), end; !ec && it != end;
         it.increment(ec)) {
        const std::string name = it->path().filename().string();
        if (!name.starts_with(stem))
            continue;
        const std::string_view suffix = std::string_view(name).substr(stem.size());
        if (!suffix.empty() &&
            !(suffix[0] == '.' && allOf(suffix.substr(1), [](char c) { return c >= '0' && c <= '9'; })))
            continue;
        const std::string candidate = path + ".bad" + std::string(suffix);
        std::string held;
        if (fileStampOf(candidate).size == static_cast<std::int64_t>(bytes.size()) &&
            readWholeFile(candidate, held) == 0 && held == bytes)
            return candidate;
    }
    return {};
}

} // namespace

Result<std::string> copyAside(const std::string& path)
{
    std::string bytes;
    if (const int err = readWholeFile(path, bytes))
        return Failure::fromErrno(err);
    // A file left damaged is found so at every start: one copy of each content is enough.
    if (std::string earlier = copyHolding(path, bytes); !earlier.empty())
        return earlier;
    for (int n = 0; n < 10000; ++n) {
        std::string candidate = path + ".bad";
        if (n > 0)
            candidate.append(".").append(std::to_string(n));
        const int fd = OpenRetrying(candidate.c_str(), O_WRONLY | O_CREAT | O_EXCL);
        if (fd < 0) {
            if (errno == EEXIST)
                continue;
            return Failure::fromErrno(errno);
        }
        int err = writeAll(fd, bytes);
        if (err == 0 && ::fsync(fd) != 0 && errno != EINVAL)
            err = errno;
        if (::close(fd) != 0 && err == 0 && errno != EINTR)
            err = errno;
        if (err != 0) {
            ::unlink(candidate.c_str());
            return Failure::fromErrno(err);
        }
        return candidate;
    }
    return Failure::fromErrno(EEXIST);
}

std::string findDataFile(const DataFolder& folder, const std::string& name)
{
    auto usable = [](const std::string& p) {
        struct stat st
        {
        };
        return ::stat(p.c_str(), &st) == 0 && !S_ISDIR(st.st_mode);
    };
    const std::string inFolder = folder.path(name);
    if (usable(inFolder))
        return inFolder;
    if (QCoreApplication::instance() != nullptr) {
        const std::string appDir = QCoreApplication::applicationDirPath().toStdString();
        // The build tree keeps the data files in data/ at its top, beside or above the executable.
        for (const std::string& candidate :
             {appDir + "/data/" + name, appDir + "/../data/" + name, appDir + "/../share/zolbin/" + name})
            if (usable(candidate))
                return candidate;
    }
#ifdef ZOLBIN_INSTALL_DATADIR
    const std::string installed = std::string(ZOLBIN_INSTALL_DATADIR) + "/" + name;
    if (usable(installed))
        return installed;
#endif
    return inFolder;
}

void removeWriterLeftovers(const std::string& path)
{
    // AtomicWriter's temporary: "." + name + ".tmp" + six letters or digits.
    constexpr std::size_t SuffixLength = 6;
    const auto letterOrDigit = [](char c) {
        return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
    };
    const std::string prefix = "." + baseNameOf(path) + ".tmp";
    std::error_code ec;
    for (std::filesystem::directory_iterator it(folderOf(path), ec), end; !ec && it != end;
         it.increment(ec)) {
        const std::string name = it->path().filename().string();
        if (name.size() != prefix.size() + SuffixLength || !name.starts_with(prefix) ||
            !allOf(std::string_view(name).substr(prefix.size()), letterOrDigit))
            continue;
        std::error_code statError;
        if (it->symlink_status(statError).type() == std::filesystem::file_type::regular)
            ::unlink(it->path().c_str());
    }
}

} // namespace zolbin
