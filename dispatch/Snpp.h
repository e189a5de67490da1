// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The SNPP dialogue: LOGI, HOLD, PAGE, MESS, SEND and QUIT on a connection whose greeting was read.

#include "directory/SendParams.h"
#include "platform/DataFolder.h"
#include "platform/Result.h"

#include <string>
#include <vector>

namespace zolbin {

class SendHost;

// Builds the MESS argument: the lines joined by single spaces, ending with a space, each converted by
// the company's character set; the signature rule applies unless the pager is digital or blocked.
// A code table that cannot be read fails.
Result<std::string> SnppMessageText(const DataFolder& folder, std::vector<std::string> lines,
                                    const std::string& signature, const std::string& charset);

// True when the server accepted the page (its reply to SEND was positive, whatever QUIT then gave), false
// at the first failure before that (reported and journaled). A failure that must end the whole send
// command (a code table that cannot be read) is returned as such.
Result<bool> SnppDialogue(SendHost& host, int& socket, const TSendParams& params,
                          const std::vector<std::string>& lines);

} // namespace zolbin
