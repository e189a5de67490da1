// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The line to a TAP paging terminal for one subscriber's session: a TCP connection when the company's
// "TapPhone" reads host:port or [IPv6-address]:port, otherwise a call through the Hayes modem on the
// serial device of the settings. Opening shows and journals every step; the link hangs up when destroyed.

#include "directory/Settings.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

namespace zolbin {

class SendHost;

class TapLink
{
public:
    virtual ~TapLink() = default;
    // False when the bytes could not be sent (the reason is in ErrorText()).
    virtual bool Send(const std::string& bytes) = 0;
    // What arrived, waiting up to waitMs for a first byte: the count, 0 when the wait ended first, -1 when
    // the line is gone (the reason is in ErrorText()).
    virtual int Receive(char* buffer, int length, int waitMs) = 0;
    // True when the line carries 8 data bits.
    virtual bool EightBit() const = 0;
    // The reason of the last failure, cp1251, without "Ошибка: ".
    virtual std::string ErrorText() const = 0;
};

// host:port of a "TapPhone" that names a TCP peer; nothing for a telephone number.
struct TapAddress
{
    std::string host; // an IPv6 address without its brackets
    std::uint16_t port = 0;
};
std::optional<TapAddress> TapTcpAddress(const std::string& tapPhone);

// True when the number holds only what a dial string may: digits, "*", "#", ",", "W", "P", "T", "!",
// "@", spaces, "-", "(" and ")".
bool DialableNumber(const std::string& number);

// Opens the line for the phone value: shows and journals each step; on failure reports it ("Ошибка: …",
// the beep) and returns null.
std::unique_ptr<TapLink> OpenTapLink(SendHost& host, const TSettings& settings, const std::string& tapPhone);

} // namespace zolbin
