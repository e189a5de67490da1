// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The message lines as a page carries them: the signature added to the last line, and the deferral
// texts the two gates use.

#include <string>
#include <vector>

namespace zolbin {

// Adds the signature to the last line: line + ". " + signature, or line + " " + signature when the line
// already ends with "."; an empty last line becomes the signature alone. Nothing changes when there are
// no lines or the signature is empty.
void AppendSignature(std::vector<std::string>& lines, const std::string& signature);

// "HOLD" argument YYMMDDHHMMSS from a hold time "dd.mm.yy hh:mm".
std::string HoldArgument(const std::string& holdTime);

} // namespace zolbin
