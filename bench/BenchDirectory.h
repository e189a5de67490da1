// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Directories of a chosen size for the benchmarks: subscribers with mixed Cyrillic and Latin names in no
// particular order, groups of members and paging companies, written as the program writes them.

#include <string>

namespace zolbin::bench {

struct DirectorySize
{
    int subscribers = 0;
    int groups = 0;
    int membersPerGroup = 10;
    int companies = 100;
    int snppPort = 0; // not 0: every company an SNPP server on 127.0.0.1 at this port
};

// The usual shape: the given number of subscribers, 1,000 groups of 10 (fewer when there are fewer
// subscribers than that) and 100 companies; 0 subscribers gives empty list files.
DirectorySize StandardSize(int subscribers);

// One group of every subscriber: the given number of both, and 100 companies.
DirectorySize OneGroupSize(int members);

// Writes "Abonent.lst", "Group.lst", "Company.lst" and a "Zolbin.ini" (no splash; a mail server for the
// companies that take pages by mail) into the folder, created when missing. A group as large as the
// subscribers holds each of them once, in file order; smaller ones draw their members at random. Throws
// std::runtime_error when a file cannot be written.
void WriteDirectory(const std::string& folder, const DirectorySize& size);

// A fresh folder under the system's temporary folder holding such a directory; removed by the caller.
std::string MakeDirectory(const DirectorySize& size);

} // namespace zolbin::bench
