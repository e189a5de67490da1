#pragma once
// The settings and the three directory lists of the data folder (the current directory), read the way
// the window reads them at start-up but never written: a missing "Company.lst" gives the home provider in
// memory only, and a damaged list is an error instead of being copied aside.

#include "directory/Lists.h"
#include "directory/Settings.h"

namespace zolbin {

struct Directory
{
    TSettings settings;
    TAbonentList abonents;
    TGroupList groups;
    TProviderList providers;
};

// Throws CliError (file error) naming the file that cannot be read or is damaged.
Directory ReadDirectory();

} // namespace zolbin
