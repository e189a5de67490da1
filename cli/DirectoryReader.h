// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The settings and the three directory lists of the data folder (the current directory), read into the
// session the way the window reads them at start-up but never written: a missing "Company.lst" gives the
// home provider in memory only, and a damaged list is an error instead of being copied aside.

namespace zolbin {

struct Session;

// Throws CliError (file error) naming the file that cannot be read or is damaged.
void ReadDirectory(Session& session);

} // namespace zolbin
