// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The data folder: the lists, "Zolbin.ini", the journal, the archives, the outbox and the locks live in
// it. A value holding the folder's absolute path, given at start and handed to whatever opens a file, so
// that the process's working directory plays no part and one process may serve more than one folder.

#include <string>

namespace zolbin {

class DataFolder final
{
public:
    // The folder at dir; a relative dir is taken from the current directory now. Nothing is created.
    explicit DataFolder(const std::string& dir);
    // The current directory. Should it have gone missing, "." still names it. Only the hosts ask for it,
    // as their default folder; the logic is always given its folder.
    static DataFolder Current();

    // The folder's absolute path, without a trailing '/' (but "/" itself).
    const std::string& root() const { return root_; }
    // The path of the file (or folder) name inside the folder. The name is as file names are on this
    // system (UTF-8); an absolute name is given back as it is.
    std::string path(const std::string& name) const;

    bool operator==(const DataFolder& other) const = default;

private:
    std::string root_;
};

} // namespace zolbin
