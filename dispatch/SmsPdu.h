// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// SMS-SUBMIT messages as a GSM modem takes them in PDU mode: the text in the GSM 7-bit default alphabet
// (with its escape table) when every character is in it, otherwise in UCS2; a text longer than one
// message in concatenated parts, each with the 8-bit reference user data header.

#include "platform/Result.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace zolbin::sms {

enum class Coding
{
    Gsm7, // data coding scheme 0x00
    Ucs2  // data coding scheme 0x08
};

// One message to hand to AT+CMGS.
struct Part
{
    std::string hex;    // "00" (the modem's own service centre) and the TPDU, upper-case hex
    int tpduLength = 0; // the TPDU's octets, the number AT+CMGS is given
};

struct Submission
{
    Coding coding = Coding::Gsm7;
    std::vector<Part> parts;
};

// Limits of one message and of one part of a concatenated message.
inline constexpr int SingleSeptets = 160;
inline constexpr int PartSeptets = 153;
inline constexpr int SingleUcs2 = 70;
inline constexpr int PartUcs2 = 67;
inline constexpr int MaxParts = 255;

// The septets of the text in the default alphabet (a character of the escape table takes two), or
// nothing when a character is in neither table.
std::optional<std::vector<std::uint8_t>> Gsm7Septets(const std::u16string& text);

// The text (UTF-16: a character beyond the basic plane goes as its surrogate pair, which is never split
// between parts) to an international number ("+" and digits). `reference` tells the parts of one
// concatenated message apart from another's. Fails when the text is empty, holds U+FFFF or half of a
// surrogate pair, or needs more than MaxParts.
Result<Submission> Encode(const std::string& phone, const std::u16string& text, std::uint8_t reference);

} // namespace zolbin::sms
