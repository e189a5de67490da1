// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The per-subscriber archive: "Log/" + subscriber name + ".log", cp1251, CR LF, entries only appended.

#include "directory/SendParams.h"
#include "platform/DataFolder.h"
#include "platform/Result.h"

#include <string>
#include <vector>

namespace zolbin {

inline constexpr const char* ArchiveFolder = "Log";

// True when the name can be used as an archive file name inside "Log": no '/', no NUL, not "." or "..".
bool IsSafeArchiveName(const std::string& name);

// "Log/" + name + ".log" in the data folder, the name (cp1251, as the directory holds it)
// written in UTF-8 as file names are on this system; the file's contents stay cp1251. Does not check the
// name.
std::string ArchivePath(const DataFolder& folder, const std::string& name);

// Archives left in "Log" under their code page 1251 names (by an earlier build, or copied from
// elsewhere) are renamed to their UTF-8 names; where both names exist the two files are joined into the
// UTF-8 one, the older file's entries first. A file name that is valid UTF-8 is taken as already
// renamed. Returns the first failure (the file concerned is then left as it was).
Status MigrateArchiveNames(const DataFolder& folder);

// Deletes the subscriber's archive file when there is one (only a file, never a folder). A name that
// would lead out of "Log", a missing file and one that cannot be deleted leave everything as it was and
// are not reported. True when a file went.
bool DeleteArchive(const DataFolder& folder, const std::string& name);

// One archive entry exactly as it is written: the header line, the service line when not empty, the
// message lines, one empty line; each line ending with CR LF.
std::string FormatArchiveEntry(const TSendParams& params, const std::vector<std::string>& messageLines);

// Creates "Log" when missing (always), then, when CurName is not empty, appends one entry to the
// subscriber's archive, whole or not at all. A file that cannot be opened or written, or a name that
// would leave "Log" (an invalid file name, I/O code 3), fails and leaves the file as it was; the page
// itself still counts as sent.
Status WriteArchive(const DataFolder& folder, const TSendParams& params,
                    const std::vector<std::string>& messageLines);

} // namespace zolbin
