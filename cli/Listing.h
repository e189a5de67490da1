// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// --list: the directory as the window shows it, one entry per line, fields separated by tabs, UTF-8.
//   subscribers: "Name -- Number", company, message limit, and "цифровой" for a digital pager
//   groups:      name, the members' names joined by ", "
//   companies:   name, gate, server (the gateway address for SMTP, the phone for TAP), port, charset

#include "cli/Options.h"
#include "records/Session.h"

#include <string>
#include <vector>

namespace zolbin {

std::vector<std::string> ListingLines(SendOptions::Listing listing, const Session& session);

} // namespace zolbin
