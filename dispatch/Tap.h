// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The TAP dialogue with a paging terminal, one session per subscriber: wake it until "ID=", log on, wait
// for the go-ahead, send the page in checksummed blocks, end the session.

#include "directory/Records.h"
#include "directory/SendParams.h"
#include "platform/DataFolder.h"
#include "platform/Result.h"

#include <string>
#include <vector>

namespace zolbin {

class SendHost;
class TapLink;

// The page's text: the lines joined as for SNPP (signature rule included), in KOI8-R; on a 7-bit line
// as KOI-7 (KOI8-R with the eighth bit cleared). A code table that cannot be read fails.
Result<std::string> TapMessageText(const DataFolder& folder, const std::vector<std::string>& lines,
                                   const std::string& signature, bool eightBit);

// True when the terminal accepted every block of the page (whatever the end of the session then gave),
// false at the first failure before that (shown and journaled, the recipient's block left open for the
// caller to close). A failure that must end the whole send command is returned as such.
Result<bool> TapDialogue(SendHost& host, TapLink& link, const TSendParams& params,
                         const std::vector<std::string>& lines, const std::string& password);

enum class TapResult
{
    NoConnection, // the line could not be opened (reported, the block closed)
    Failed,       // the dialogue failed (reported, the block closed)
    Accepted
};

// One subscriber's sending through the company's terminal: the line opened, the dialogue, the line
// hung up.
Result<TapResult> TapSending(SendHost& host, const TProvider& company, const TSendParams& params,
                             const std::vector<std::string>& lines);

} // namespace zolbin
