// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The bytes of the Telocator Alphanumeric Protocol (TAP 1.8): the control characters, the block
// checksum, the transparency escape of control characters in a field, the cutting of a page into blocks
// of at most 250 characters, and the readable form of control characters for the status bar and journal.

#include <string>
#include <string_view>
#include <vector>

namespace zolbin::tap {

inline constexpr char STX = 0x02;
inline constexpr char ETX = 0x03;
inline constexpr char EOT = 0x04;
inline constexpr char ACK = 0x06;
inline constexpr char CR = 0x0D;
inline constexpr char NAK = 0x15;
inline constexpr char ETB = 0x17;
inline constexpr char SUB = 0x1A;
inline constexpr char ESC = 0x1B;
inline constexpr char RS = 0x1E;
inline constexpr char US = 0x1F;

// Characters of a block between STX and its end character (the fields and their CRs).
inline constexpr std::size_t MaxBlockData = 250;

// Three characters '0' + each 4-bit group (high first) of the low 12 bits of the sum of the 7-bit values
// of every character of `block`, from its STX through its end character (ETX, ETB or US).
std::string Checksum(std::string_view block);

// Each control character (below 0x20) becomes SUB followed by the character + 0x40.
std::string Escape(std::string_view field);

// One block as it goes out, and as it is shown: the message characters replaced by "***".
struct Block
{
    std::string wire;
    std::string shown;
};

// The blocks of one page: pager ID field and the message field (escaped), each ending with CR. A field
// that does not fit the block it starts in goes on in the next (the block ends with US); a field that
// fits a fresh block whole starts one (the block before ends with ETB); the last block ends with ETX. An
// escape pair is never cut.
std::vector<Block> Blocks(const std::string& pagerId, const std::string& message);

// Control characters as <NAME> (<STX>, <CR>, <ESC> …); other bytes as they are.
std::string Readable(std::string_view bytes);

} // namespace zolbin::tap
