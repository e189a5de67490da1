// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/SerialLine.h"

#include "platform/Codepage.h"
#include "platform/Net.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>
#include <utility>

namespace zolbin {

namespace {

speed_t systemSpeed(std::uint32_t speed)
{
    switch (speed) {
    case 300:
        return B300;
    case 600:
        return B600;
    case 1200:
        return B1200;
    case 2400:
        return B2400;
    case 4800:
        return B4800;
    case 9600:
        return B9600;
    case 19200:
        return B19200;
    case 38400:
        return B38400;
    case 57600:
        return B57600;
    case 115200:
        return B115200;
    case 230400:
        return B230400;
    default:
        return B0;
    }
}

Text reason(int err)
{
    switch (err) {
    case ENOENT:
    case ENXIO:
    case ENODEV:
        return tx("SerialLine", "нет такого устройства");
    case EACCES:
    case EPERM:
        return tx("SerialLine", "нет прав на доступ (нужна группа dialout?)");
    case EBUSY:
        return tx("SerialLine", "порт занят другой программой");
    case ENOTTY:
        return tx("SerialLine", "это не последовательный порт");
    default:
        return tx("SerialLine", "системная ошибка %1").arg(err);
    }
}

Failure lineFailure(const std::string& device, const Text& why)
{
    return Failure{FailureCode::SerialLine, tx("SerialLine", "Порт %1 не открыт: %2").arg(device).arg(why)};
}

} // namespace

bool SerialLine::SpeedSupported(std::uint32_t speed)
{
    return systemSpeed(speed) != B0;
}

Result<SerialLine> SerialLine::Open(const std::string& device, std::uint32_t speed, Frame frame)
{
    if (!SpeedSupported(speed))
        return lineFailure(
            device,
            tx("SerialLine", "скорость %1 бит/с не поддерживается").arg(static_cast<long long>(speed)));
    if (device.empty() || device.find('\0') != std::string::npos)
        return lineFailure(device, reason(ENOENT));
    const int fd = ::open(device.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return lineFailure(device, reason(errno));
    SerialLine line(fd); // closes the device on every way out
    if (::isatty(fd) == 0)
        return lineFailure(device, reason(ENOTTY));
    if (::ioctl(fd, TIOCEXCL) != 0)
        return lineFailure(device, reason(errno));

    termios tio{};
    if (::tcgetattr(fd, &tio) != 0)
        return lineFailure(device, reason(errno));
    ::cfmakeraw(&tio);
    tio.c_cflag &= ~static_cast<tcflag_t>(CSIZE | PARENB | PARODD | CSTOPB | CRTSCTS);
    tio.c_cflag |= CREAD | CLOCAL | HUPCL;
    if (frame == Frame::SevenE1) {
        tio.c_cflag |= CS7 | PARENB;
        tio.c_iflag |= ISTRIP;
    } else {
        tio.c_cflag |= CS8;
    }
    // VMIN 1 with O_NONBLOCK: an empty line answers EAGAIN, so a read of 0 bytes means it hung up.
    tio.c_cc[VMIN] = 1;
    tio.c_cc[VTIME] = 0;
    if (::cfsetispeed(&tio, systemSpeed(speed)) != 0 || ::cfsetospeed(&tio, systemSpeed(speed)) != 0 ||
        ::tcsetattr(fd, TCSANOW, &tio) != 0)
        return lineFailure(device, reason(errno));
    ::tcflush(fd, TCIOFLUSH);
    return line;
}

SerialLine::SerialLine(SerialLine&& other) noexcept
    : fd_(std::exchange(other.fd_, -1)), error_(std::exchange(other.error_, {}))
{
}

SerialLine& SerialLine::operator=(SerialLine&& other) noexcept
{
    if (this != &other) {
        SerialLine gone(std::exchange(fd_, -1));
        fd_ = std::exchange(other.fd_, -1);
        error_ = std::exchange(other.error_, {});
    }
    return *this;
}

SerialLine::~SerialLine()
{
    if (fd_ < 0)
        return;
    ::ioctl(fd_, TIOCNXCL);
    ::close(fd_); // HUPCL: the modem sees DTR drop and hangs up
}

int SerialLine::fail(std::error_code error)
{
    error_ = error;
    return -1;
}

bool SerialLine::Write(const std::string& bytes, int deadlineMs)
{
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd_, bytes.data() + done, bytes.size() - done);
        if (n > 0) {
            done += static_cast<std::size_t>(n);
            continue;
        }
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0 && errno != EAGAIN && errno != EWOULDBLOCK) {
            fail({errno, std::system_category()});
            return false;
        }
        const int ready = net::WaitReady(fd_, true, deadlineMs, error_);
        if (ready == 0)
            error_ = std::make_error_code(std::errc::timed_out);
        if (ready != 1)
            return false;
    }
    return true;
}

int SerialLine::Read(char* buffer, int length, int waitMs)
{
    for (;;) {
        const ssize_t n = ::read(fd_, buffer, static_cast<std::size_t>(length));
        if (n > 0)
            return static_cast<int>(n);
        if (n == 0) // hung up (or a pseudo-terminal's master closed)
            return fail(std::make_error_code(std::errc::broken_pipe));
        if (errno == EINTR)
            continue;
        if (errno != EAGAIN && errno != EWOULDBLOCK)
            return fail({errno, std::system_category()});
        const int ready = net::WaitReady(fd_, false, waitMs, error_);
        if (ready <= 0)
            return ready;
    }
}

void SerialLine::Flush()
{
    ::tcflush(fd_, TCIFLUSH);
}

} // namespace zolbin
