// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// --list: the directory as the window shows it, one entry per line, fields separated by tabs, UTF-8.
//   subscribers: "Name -- Number", company, message limit, and "цифровой" for a digital pager
//   groups:      name, the members' names joined by ", "
//   companies:   name, gate, server (the gateway address for SMTP, the phone for TAP), port, charset
//   outbox:      id, state (queued, sending, sent, waiting, failed, unknown, cancelled), recipient,
//                company, attempts, next attempt (ISO 8601, UTC; only for a page that waits), desk,
//                worker, last reply

#include "cli/Options.h"
#include "records/Outbox.h"
#include "records/Session.h"

#include <string>
#include <vector>

namespace zolbin {

std::vector<std::string> ListingLines(SendOptions::Listing listing, const Session& session);

// The outbox's pages not finished and those finished since sinceMs, newest first. Throws FileError when
// the outbox cannot be read.
std::vector<std::string> OutboxLines(Outbox& outbox, std::int64_t sinceMs);

} // namespace zolbin
