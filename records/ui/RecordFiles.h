// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Removing the journal and subscribers' archives, and reading either for the viewers. Every archive
// name goes through the same check as the archive writer: nothing outside "Log" is read or removed.

#include "platform/DataFolder.h"

#include <QString>
#include <cstddef>
#include <string>

namespace zolbin {

// The archive file of a subscriber, or an empty text when the name would reach outside "Log".
std::string ArchiveFileOf(const DataFolder& folder, const std::string& name);

// Removes the journal file. Returns 0 (also when there was none) or the errno of the failure.
int DeleteJournal(const std::string& path);

// "Архив для абонента <name> не найден" (the name cp1251).
QString ArchiveNotFoundText(const std::string& name);

// Reads a text file piece by piece the way the viewers show it: cp1251 bytes with every line break
// (CR LF, CR alone, LF) made one LF. A CR at the end of a piece waits for the next one, so a CR LF
// cut in two by the reads is still one line break.
class ChunkReader final
{
public:
    ChunkReader() = default;
    ~ChunkReader();
    ChunkReader(const ChunkReader&) = delete;
    ChunkReader& operator=(const ChunkReader&) = delete;

    // Returns 0, or the errno of the failed opening (a folder cannot be opened as a text).
    int open(const std::string& path);
    // Reads up to maxBytes more into out (replacing it). Returns 0, or the errno of the failed read.
    int read(std::string& out, std::size_t maxBytes);
    bool atEnd() const { return fd_ < 0; }
    void close();

private:
    int fd_ = -1;
    bool pendingCr_ = false;
};

} // namespace zolbin
