// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A fresh temporary data folder for the test, handed to what the test runs (folder(), path()); the
// working directory is left alone. The folder is removed afterwards.

#include "platform/DataFolder.h"

#include <string>

namespace zolbin::test {

class TempDataDir
{
public:
    TempDataDir();
    ~TempDataDir();
    TempDataDir(const TempDataDir&) = delete;
    TempDataDir& operator=(const TempDataDir&) = delete;

    const std::string& path() const { return path_; }
    // The folder as the program takes it.
    DataFolder folder() const { return DataFolder(path_); }

    // The path of a file in the folder.
    std::string file(const std::string& name) const { return folder().path(name); }

    // Helpers on files relative to the folder.
    std::string read(const std::string& name) const;
    void write(const std::string& name, const std::string& bytes) const;
    bool exists(const std::string& name) const;

private:
    std::string path_;
};

} // namespace zolbin::test
