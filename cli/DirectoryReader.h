// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The settings and the three directory lists of the data folder (the current directory), read into the
// session the way the window reads them at start-up but never written: a missing "Company.lst" gives the
// home provider in memory only, and a damaged list is an error instead of being copied aside.

#include "platform/FileStamp.h"

#include <optional>
#include <vector>

namespace zolbin {

struct Session;

// Throws CliError (file error) naming the file that cannot be read or is damaged.
void ReadDirectory(Session& session);

// For a run that reads the folder again and again (the outbox's worker before each round, the intake before
// each page): reads it only when the settings file or a list file is not the one it last read.
class DirectoryRefresh
{
public:
    // Whether it read (the first call always does); throws as ReadDirectory, and a folder that failed is
    // not read again until it changes again.
    bool operator()(Session& session);

private:
    std::optional<std::vector<FileStamp>> seen_;
};

} // namespace zolbin
