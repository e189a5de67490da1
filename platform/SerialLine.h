// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A serial device (a modem's line) opened for one send: exclusive, raw, at a given speed, 7E1 or 8N1,
// and set to hang up when it is closed (HUPCL drops DTR). The object owns the device and closes it when
// destroyed. Reads and writes block the calling thread until their deadline, like the socket layer; the
// line keeps the error of its own last failure.

#include "platform/Result.h"

#include <cstdint>
#include <string>
#include <system_error>

namespace zolbin {

class SerialLine final
{
public:
    // Character frame: 7 data bits, even parity, 1 stop bit; or 8 data bits, no parity, 1 stop bit.
    enum class Frame
    {
        SevenE1,
        EightN1
    };

    // Fails (FailureCode::SerialLine, a Russian text naming the device) when the device cannot be
    // opened, is not a terminal, is in use by another program, or the speed is not one the system knows.
    static Result<SerialLine> Open(const std::string& device, std::uint32_t speed, Frame frame);

    SerialLine(SerialLine&& other) noexcept;
    SerialLine& operator=(SerialLine&& other) noexcept;
    SerialLine(const SerialLine&) = delete;
    SerialLine& operator=(const SerialLine&) = delete;
    ~SerialLine();

    // Writes all of the bytes within the deadline. False on an error or when the deadline passed
    // (timed_out).
    bool Write(const std::string& bytes, int deadlineMs);
    // Reads what is there, waiting up to waitMs for a first byte. The count, 0 when the deadline passed,
    // -1 on an error (the line is gone; a hang-up is broken_pipe).
    int Read(char* buffer, int length, int waitMs);
    // Throws away what was received and not yet read.
    void Flush();
    // Why the last Write or Read failed.
    const std::error_code& Error() const { return error_; }

    // True when the speed (bits per second) maps to a speed of the system's terminal interface.
    static bool SpeedSupported(std::uint32_t speed);

private:
    explicit SerialLine(int fd) : fd_(fd) {}
    int fail(std::error_code error);
    int fd_ = -1;
    std::error_code error_;
};

} // namespace zolbin
