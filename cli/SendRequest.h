// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What the window sets up before its Send command runs, from the command line: the recipient, the
// deferral and repeats, and every check the window makes (or its editor enforces) before a page leaves:
// a recipient that exists, a company that can be reached, the settings an SMTP gate needs, the message
// limit and the digital-pager characters. Anything wrong is refused before any connection.

#include "cli/Options.h"
#include "cli/TerminalText.h"
#include "directory/SendParams.h"
#include "dispatch/ServiceSettings.h"
#include "records/Session.h"

#include <cstdint>
#include <string>

namespace zolbin {

struct SendRequest
{
    TSendParams params;
    std::int16_t curGroup = -1;
    Text serviceSummary; // as the window shows it under the recipient; empty: none
};

// The service dialog's fields for --defer, --repeat and --interval. Throws CliError (usage) for a date,
// time, count or interval that the dialog would not accept.
ServiceForm ServiceFormOf(const SendOptions& options);

// Throws CliError (usage) naming what is wrong.
SendRequest PrepareSend(const SendOptions& options, const Session& session, const MessageText& message);

} // namespace zolbin
