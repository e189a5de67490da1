#pragma once
// The SNPP dialogue: LOGI, HOLD, PAGE, MESS, SEND and QUIT on a connection whose greeting was read.

#include "directory/SendParams.h"

#include <string>
#include <vector>

namespace zolbin {

class SendHost;

// Builds the MESS argument: the lines joined by single spaces, ending with a space, each converted by
// the company's character set; the signature rule applies unless the pager is digital or blocked.
std::string SnppMessageText(std::vector<std::string> lines, const std::string& signature,
                            const std::string& charset);

// Returns 0 when the server accepted the page (its reply to SEND was positive, whatever QUIT then gave),
// -1 at the first failure before that.
int SnppDialogue(SendHost& host, int& socket, const TSendParams& params,
                 const std::vector<std::string>& lines);

} // namespace zolbin
