// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Feeds arbitrary bytes to the reply reader: the bytes are cut into the pieces a server might send (one
// piece per socket read), sent over a local socket pair whose sending end is then closed, and one reply is
// read with ReadReply. Shared by the fuzz target and by the ordinary test that runs the seed corpus.
//
// Input layout: the first byte modulo 16 is the number of piece lengths that follow, each two bytes,
// little-endian; the rest is the data. The data is sent in pieces of those lengths (a zero length is
// skipped, a length beyond the data takes what is left) and a last piece with whatever remains.

#include <string>
#include <string_view>
#include <vector>

namespace zolbin::fuzz {

struct ReplyRun
{
    std::vector<std::string> pieces; // as sent, each arriving on its own
    int result = 0;                  // what ReadReply returned
    std::string reply;               // what it read
};

ReplyRun runReplyReader(std::string_view input);

// The rules a correct reader keeps on that run: the result is the reply's length (an error only for data
// longer than a reply may be); the reply is the data sent, from its start; reading stopped only at a
// complete reply or the end of the data; and never went past a reply that was already complete at the end
// of a piece.
// Returns an empty text when every rule holds, else the rule broken.
std::string checkReplyRun(const ReplyRun& run);

} // namespace zolbin::fuzz
