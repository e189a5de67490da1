// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Feeds arbitrary bytes to the list-file loaders: the bytes are written as a list file in a private
// temporary folder and loaded by the list's own LoadFromFile. Shared by the fuzz targets and by the
// ordinary test that runs the seed corpus.

#include <string>
#include <string_view>

namespace zolbin::fuzz {

enum class ListKind
{
    Abonent,
    Group,
    Company
};

struct LoadOutcome
{
    bool loaded = false; // LoadFromFile succeeded
    int ioCode = 0;      // the I/O code of its failure, 0 when none
    int count = 0;       // records (groups) in the list afterwards
};

// Anything escaping the loader is passed on (a fault the caller reports).
LoadOutcome loadListBytes(ListKind kind, std::string_view bytes);

const char* listName(ListKind kind);

} // namespace zolbin::fuzz
