// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Whole-file reads, atomic whole-file rewrites and appends, with failures as the program's I/O codes.

#include "platform/DataFolder.h"
#include "platform/Result.h"

#include <string>
#include <string_view>

namespace zolbin {

bool fileExists(const std::string& path);

// Reads the whole file into out. Returns 0, or the errno of the failed open or read.
int readWholeFile(const std::string& path, std::string& out);

// open(2) with O_CLOEXEC added, tried again when a signal interrupts it. The descriptor, or -1 with errno.
int OpenRetrying(const char* path, int flags, unsigned mode = 0666);

// Rewrites a file whole through a temporary file in the same folder, fsync and rename: a failure at
// any step leaves the previous file as it was.
class AtomicWriter final
{
public:
    explicit AtomicWriter(std::string path);
    ~AtomicWriter(); // removes the temporary file unless committed
    AtomicWriter(const AtomicWriter&) = delete;
    AtomicWriter& operator=(const AtomicWriter&) = delete;

    // Creates the temporary file.
    Status open();
    // Fails when the bytes could not all be written, or when open() did not succeed.
    Status write(std::string_view bytes);
    // Flushes, syncs and renames over the target. `synced` false leaves the syncing to a later syncFile
    // and keeps the file replaced as PreviousFileOf(path) until DropPreviousFile, once the new one is
    // durable: a crash before then may cut the new file short, never the kept one. A kept file already
    // there stays as it is (the last one made durable). Where the file system can, the two names are
    // swapped in one step, which also spares ext4 the flush it makes when an unsynced file replaces
    // another by its name.
    Status commit(bool synced = true);

private:
    // The unsynced commit's renames: 0 or an errno.
    int replaceKeeping();

    std::string path_;
    std::string tempPath_;
    int fd_ = -1;
    bool committed_ = false;
};

// Rewrites the file whole with the bytes through an AtomicWriter: all of it, or the previous file as it
// was. `synced` as AtomicWriter::commit takes it.
Status rewriteWholeFile(const std::string& path, std::string_view bytes, bool synced = true);
// Makes a file written without syncing durable: its bytes, then its name in its folder.
Status syncFile(const std::string& path);
// Where an unsynced rewrite keeps the file it replaced: path + ".previous".
std::string PreviousFileOf(const std::string& path);
// Removes the kept file (none is no failure).
Status DropPreviousFile(const std::string& path);

// Opens for appending (creating when missing), writes, closes. The bytes go in whole or not at all: a
// write that fails part way (a full disk) cuts the file back to its previous length.
Status appendToFile(const std::string& path, std::string_view bytes);

// Creates an empty file when none exists.
Status createIfMissing(const std::string& path);

// Copies a damaged file aside as path + ".bad" (or ".bad.1", ".bad.2", ... when taken) and gives the
// new name. When an earlier copy already holds the same bytes, nothing is written and its name is
// given.
Result<std::string> copyAside(const std::string& path);

// The name of a file within its folder: what follows the path's last '/'.
std::string baseNameOf(const std::string& path);

// The path of a data file shipped with the program (code tables, help): the data folder first, then
// the data folder of the build tree (beside or above the executable), then the installed data directory.
// Returns its path in the data folder when none has it (so the caller's open fails as for a missing file).
std::string findDataFile(const DataFolder& folder, const std::string& name);

// Removes what AtomicWriter leaves of the file when the process is killed during a save: the hidden
// temporary files "." + name + ".tmp" + six letters or digits beside it. Only for a caller that knows no
// save of the file is running (the window program holding its data folder). Failures are ignored.
void removeWriterLeftovers(const std::string& path);

} // namespace zolbin
