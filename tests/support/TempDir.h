// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A fresh temporary data folder that the test works in: the process changes into it for the test's
// lifetime and back afterwards, and the folder is removed.

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

    // Helpers on files relative to the folder.
    std::string read(const std::string& name) const;
    void write(const std::string& name, const std::string& bytes) const;
    bool exists(const std::string& name) const;

private:
    std::string path_;
    std::string previous_;
};

} // namespace zolbin::test
