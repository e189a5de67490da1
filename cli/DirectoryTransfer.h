// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// zolbin-send and the directory a room keeps in its database (the `Database` key of section "Outbox", or
// --outbox): --directory-import DIR stores the list files of a folder as the room's latest versions,
// --directory-export DIR writes the room's latest lists into a folder, byte for byte; and every other run
// reads the room's latest lists instead of the data folder's copy.

#include <ostream>
#include <string>

namespace zolbin {

struct Session;
struct SendOptions;

// --directory-import or --directory-export: the exit status. Reads the settings of the session's folder.
// Throws CliError: no database named (usage), a server away or a file that cannot be read or written.
int TransferDirectory(const SendOptions& options, Session& session, std::ostream& out);

// With a room's database named, the session's lists become the room's latest; a server away leaves the
// data folder's lists (the desk's copy) and says so on `err`.
void ReadRoomDirectory(Session& session, std::ostream& err);

} // namespace zolbin
