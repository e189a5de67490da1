// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// zolbin-send --work-outbox: sends the pages of the data folder's outbox as they fall due, one program
// at a time, until every page has reached its end (or, following, until stopped). What the pages learn
// of the GSM modems is remembered from one page to the next for the whole run. Following, it also takes
// pages in from other systems on the listeners section "Intake" names (intake/IntakeService).

#include "dispatch/Deadlines.h"

#include <functional>
#include <optional>
#include <ostream>
#include <string>

namespace zolbin {

class ConsoleHost;
struct Session;

struct WorkOptions
{
    bool follow = false;
    bool quiet = false;
    // Gives each page's host its password and PIN sources.
    std::function<void(ConsoleHost&)> prepareHost;
    // This run's own changes to the settings, made again each time the data folder is read.
    std::function<void(Session&)> adjustSettings;
    // The deadlines of each page's waits.
    SendDeadlines deadlines;
    // Following: the SNPP listener's and the HTTP intake's "HOST:PORT" instead of the settings' ones.
    std::optional<std::string> listenSnpp;
    std::optional<std::string> listenHttp;
};

// The exit status: 0 when every page it brought to an end went out, 1 when one did not (failed,
// withdrawn or of unknown outcome); throws CliError (file error) when the outbox cannot be worked, and
// (usage) when a listener of pages taken in cannot be opened.
int WorkOutbox(Session& session, const WorkOptions& options, std::ostream& err);

// Asks a running WorkOutbox to stop after the page under way (from a signal handler too).
void StopOutboxWork();

} // namespace zolbin
