// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Loading the three directory lists of a data folder at start-up. A list file found damaged is copied aside
// before anything could rewrite it; the records read up to the damage stay loaded and the other lists load as
// usual. What was damaged is collected so that the operator is told once, after all the loads; a file
// that cannot be read at all is the failure of its own load, for the caller to show at once. Each list
// notes the file it loaded, or that its file was missing, so that a later save can tell a file changed
// behind the program's back.

#include "directory/Lists.h"

#include <QString>
#include <string>
#include <vector>

namespace zolbin {

struct DamagedListFile
{
    std::string fileName;  // the name in the data folder
    std::string error;     // the I/O error text, cp1251
    std::string copyName;  // the name in the data folder the damaged file was copied as, empty when the
                           // copy failed
    std::string copyError; // why the copy failed, cp1251
};

class DirectoryLoad final
{
public:
    explicit DirectoryLoad(const DataFolder& folder) : folder_(folder) {}

    // Subscribers and groups: loaded when their file exists. Fails when the file cannot be read; a
    // damaged file is not a failure here (damaged()).
    Status loadAbonents(TAbonentList& list);
    Status loadGroups(TGroupList& list);
    // Companies: loaded when "Company.lst" exists, otherwise the home provider alone is added and the
    // file written at once (which may fail). A list that comes out empty (a damaged, empty or unreadable
    // file) gets the home provider in memory, so that position 0 always holds it; the file is not
    // rewritten for that.
    Status loadProviders(TProviderList& list);

    const std::vector<DamagedListFile>& damaged() const { return damaged_; }
    // One message for every damaged file, empty when nothing was damaged.
    QString damageReport() const;

private:
    template <typename List> Status load(List& list, const char* fileName);

    DataFolder folder_;
    std::vector<DamagedListFile> damaged_;
};

} // namespace zolbin
