#pragma once
// Loading the three directory lists at start-up. A list file found damaged is copied aside before
// anything could rewrite it; the records read up to the damage stay loaded and the other lists load as
// usual. What was damaged is collected so that the operator is told once, after all the loads. Each list
// notes the file it loaded, or that its file was missing, so that a later save can tell a file changed
// behind the program's back.

#include "directory/Lists.h"

#include <string>
#include <vector>

namespace zolbin {

struct DamagedListFile
{
    std::string fileName;
    std::string error;     // the I/O error text, cp1251
    std::string copyName;  // where the damaged file was copied, empty when the copy failed
    std::string copyError; // why the copy failed, cp1251
};

class DirectoryLoad
{
public:
    // Subscribers and groups: loaded when their file exists. Returns true when the whole file was read.
    bool loadAbonents(TAbonentList& list);
    bool loadGroups(TGroupList& list);
    // Companies: loaded when "Company.lst" exists, otherwise the home provider alone is added and the
    // file written at once. A list that comes out empty (a damaged or empty file) gets the home
    // provider in memory, so that position 0 always holds it; the file is not rewritten for that.
    void loadProviders(TProviderList& list);

    const std::vector<DamagedListFile>& damaged() const { return damaged_; }
    // One message for every damaged file (cp1251), empty when nothing was damaged.
    std::string damageReport() const;

private:
    template <typename List> bool load(List& list, const char* fileName);

    std::vector<DamagedListFile> damaged_;
};

} // namespace zolbin
