#include "platform/FileIo.h"

#include "platform/Errors.h"
#include "platform/IoError.h"

#include <QCoreApplication>
#include <cerrno>
#include <fcntl.h>
#include <random>
#include <sys/stat.h>
#include <unistd.h>

namespace zolbin {

namespace {

// Writes all bytes, resuming after interruptions and partial writes. Returns 0 or errno.
int writeAll(int fd, std::string_view bytes)
{
    const char* p = bytes.data();
    std::size_t left = bytes.size();
    while (left > 0) {
        const ssize_t n = ::write(fd, p, left);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return errno;
        }
        if (n == 0)
            return ENOSPC;
        p += n;
        left -= static_cast<std::size_t>(n);
    }
    return 0;
}

int openRetrying(const char* path, int flags, mode_t mode = 0666)
{
    int fd;
    do
        fd = ::open(path, flags | O_CLOEXEC, mode);
    while (fd < 0 && errno == EINTR);
    return fd;
}

// The folder part of a path ("." for a bare name).
std::string folderOf(const std::string& path)
{
    const auto slash = path.rfind('/');
    if (slash == std::string::npos)
        return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
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

int readWholeFile(const std::string& path, std::string& out)
{
    out.clear();
    const int fd = openRetrying(path.c_str(), O_RDONLY);
    if (fd < 0)
        return errno;
    char buffer[65536];
    int err = 0;
    for (;;) {
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            err = errno;
            break;
        }
        if (n == 0)
            break;
        out.append(buffer, static_cast<std::size_t>(n));
    }
    ::close(fd);
    if (err != 0)
        out.clear();
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

int AtomicWriter::open()
{
    if (fd_ >= 0)
        return 0;
    if (path_.empty())
        return ENOENT;
    // The target must be a place a file can be created: a folder there (or an unreachable folder)
    // fails now, as creating the file itself would.
    struct stat target
    {
    };
    const bool targetExists = ::stat(path_.c_str(), &target) == 0;
    if (targetExists && S_ISDIR(target.st_mode))
        return EISDIR;

    const std::string folder = folderOf(path_);
    const std::string base = path_.substr(path_.rfind('/') == std::string::npos ? 0 : path_.rfind('/') + 1);
    for (int attempt = 0; attempt < 100; ++attempt) {
        std::string candidate = folder + "/." + base + ".tmp" + randomSuffix();
        const int fd = openRetrying(candidate.c_str(), O_WRONLY | O_CREAT | O_EXCL);
        if (fd >= 0) {
            fd_ = fd;
            tempPath_ = std::move(candidate);
            // The new file keeps the permissions of the one it replaces.
            if (targetExists)
                (void)::fchmod(fd_, target.st_mode & 07777);
            return 0;
        }
        if (errno != EEXIST)
            return errno;
    }
    return EEXIST;
}

void AtomicWriter::write(std::string_view bytes)
{
    if (fd_ < 0)
        raiseErrno(EBADF);
    if (const int err = writeAll(fd_, bytes))
        raiseErrno(err);
}

void AtomicWriter::commit()
{
    if (fd_ < 0)
        raiseErrno(EBADF);
    int err = 0;
    if (::fsync(fd_) != 0 && errno != EINVAL)
        err = errno;
    if (::close(fd_) != 0 && err == 0 && errno != EINTR)
        err = errno;
    fd_ = -1;
    if (err == 0 && ::rename(tempPath_.c_str(), path_.c_str()) != 0)
        err = errno;
    if (err != 0)
        raiseErrno(err); // the destructor removes the temporary file
    committed_ = true;
    // Make the rename itself durable; a failure here no longer affects the contents.
    const int dir = openRetrying(folderOf(path_).c_str(), O_RDONLY | O_DIRECTORY);
    if (dir >= 0) {
        (void)::fsync(dir);
        ::close(dir);
    }
}

// ---------------------------------------------------------------------------------------------------

void appendToFile(const std::string& path, std::string_view bytes)
{
    if (const int err = tryAppendToFile(path, bytes); err != 0)
        raiseErrno(err);
}

int tryAppendToFile(const std::string& path, std::string_view bytes)
{
    const int fd = openRetrying(path.c_str(), O_WRONLY | O_APPEND | O_CREAT);
    if (fd < 0)
        return errno;
    int err = writeAll(fd, bytes);
    if (::close(fd) != 0 && err == 0 && errno != EINTR)
        err = errno;
    if (err != 0)
        raiseErrno(err);
    return 0;
}

void createIfMissing(const std::string& path)
{
    if (fileExists(path))
        return;
    const int fd = openRetrying(path.c_str(), O_WRONLY | O_CREAT | O_EXCL);
    if (fd < 0) {
        if (errno == EEXIST)
            return;
        raiseErrno(errno);
    }
    ::close(fd);
}

std::string copyAside(const std::string& path)
{
    std::string bytes;
    if (const int err = readWholeFile(path, bytes))
        raiseErrno(err);
    for (int n = 0; n < 10000; ++n) {
        std::string candidate = path + ".bad";
        if (n > 0)
            candidate.append(".").append(std::to_string(n));
        const int fd = openRetrying(candidate.c_str(), O_WRONLY | O_CREAT | O_EXCL);
        if (fd < 0) {
            if (errno == EEXIST)
                continue;
            raiseErrno(errno);
        }
        int err = writeAll(fd, bytes);
        if (err == 0 && ::fsync(fd) != 0 && errno != EINVAL)
            err = errno;
        if (::close(fd) != 0 && err == 0 && errno != EINTR)
            err = errno;
        if (err != 0) {
            ::unlink(candidate.c_str());
            raiseErrno(err);
        }
        return candidate;
    }
    raiseErrno(EEXIST);
}

std::string findDataFile(const std::string& name)
{
    auto usable = [](const std::string& p) {
        struct stat st
        {
        };
        return ::stat(p.c_str(), &st) == 0 && !S_ISDIR(st.st_mode);
    };
    if (usable(name))
        return name;
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
    return name;
}

} // namespace zolbin
