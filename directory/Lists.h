// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The three directory lists and their list files: "Abonent.lst", "Group.lst", "Company.lst".
//
// Loading: LoadFromFile appends the records of the file. A file that cannot be read fails with its I/O
// error and leaves the list as it was. A file that ends inside a record is damaged: it fails with I/O
// code 100 ("Read beyond end of file") with the complete records already appended. Loaders never
// allocate by a count read from the file: a negative member count, or one larger than the rest of the
// file, is a damaged file too.
//
// The file names given to the lists are paths (Save: the file of the data folder); messages name the file
// by its name alone.
//
// Saving: the whole file is rewritten through AtomicWriter; a save that fails (the file cannot be
// created or written) leaves the previous file intact. A file that another program has changed since
// the list last read or wrote it is not rewritten at all: the save fails with
// FailureCode::ListFileChanged, and the host reloads the directory before it shows the failure's text.

#include "directory/RecordList.h"
#include "directory/Records.h"
#include "platform/DataFolder.h"
#include "platform/FileReader.h"
#include "platform/FileStamp.h"
#include "platform/IoError.h"
#include "platform/Result.h"

#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace zolbin {

inline constexpr const char* AbonentFileName = "Abonent.lst";
inline constexpr const char* GroupFileName = "Group.lst";
inline constexpr const char* CompanyFileName = "Company.lst";

// True for a load that failed on a damaged file (its complete records were appended), false for one
// whose file could not be read at all.
inline bool IsDamagedListFile(const Failure& failure)
{
    return failure.code == IoCode::ReadBeyondEnd;
}

// True for a save refused because the list file changed on disk since this process last read or wrote
// it (another window, a script, a restored backup). Nothing was written.
inline bool IsListFileChanged(const Failure& failure)
{
    return failure.code == FailureCode::ListFileChanged;
}

// The file behind a list: read whole, rewritten whole, and watched for changes made behind the list's
// back. What the list last read or wrote is noted (device, inode, size, modification time); a rewrite of
// a file that is no longer that one fails (IsListFileChanged) and writes nothing. A list that has seen no
// file yet (one built in memory) rewrites without that check.
class WatchedListFile
{
public:
    // For a file not loaded because it does not exist: should one appear, it counts as a change.
    void NoteMissingFile(const std::string& fileName) { note(fileName, FileStamp{}); }
    // True when the file is not the one this list last read or wrote; false for a file it has not seen.
    bool FileChanged(const std::string& fileName) const;
    // Called after each rewrite of the file that succeeded (a room's directory sends the change on).
    std::function<void()> afterWrite;
    // False while the file is a copy that another part makes durable (a room's directory, after sending
    // the change on): a rewrite then does not wait for the disk, and keeps the file it replaced beside it
    // until then (AtomicWriter::commit).
    bool synced = true;

protected:
    // Opens the file and hands it to parse, which reads it front to back. A read that fails is the
    // failure, whatever parse returned: the caller then keeps nothing parse made.
    Status readFile(const std::string& fileName, const std::function<Status(FileReader&)>& parse) const;
    // Through AtomicWriter: a failure leaves the old file intact.
    Status rewriteFile(const std::string& fileName, const std::string& bytes) const;

private:
    void note(const std::string& fileName, const FileStamp& stamp) const;

    // Noted by the const save operations too.
    mutable std::string fileName_;
    mutable std::optional<FileStamp> stamp_;
};

class TAbonentList final : public TRecordList<TAbonent>, public WatchedListFile
{
public:
    Status LoadFromFile(const std::string& fileName);
    Status Save(const DataFolder& folder) const; // rewrites the folder's "Abonent.lst"
    Status SaveToFile(const std::string& fileName) const;
    // First subscriber whose name (at most 25 characters) begins with the text, case folded with
    // UpperCaseText; an empty text gives -1.
    int FindByPrefix(const std::string& text) const;
    // The subscribers whose Provider equals the name exactly; the new list shares the records.
    TAbonentList AbonentsOfProvider(const std::string& providerName) const;
    // The orders of the sort commands: CompareByName, CompareByNumber.
    void SortByName();
    void SortByNumber();
    // "Name -- Number" lines, as the main window shows the subscribers.
    std::vector<std::string> DisplayLines() const;
};

// What follows the name in a subscriber's line: " -- " and the number. Made without an allocation, for
// lists that build 100,000 lines.
struct DisplaySuffix
{
    explicit DisplaySuffix(std::int32_t number);
    std::string_view view() const { return {bytes_, size_}; }

private:
    char bytes_[16];
    std::size_t size_;
};

struct TGroup
{
    FixedText<25> Name;
    TAbonentList Members;
};

using GroupPtr = std::shared_ptr<TGroup>;

class TGroupList final : public TRecordList<TGroup>, public WatchedListFile
{
public:
    Status LoadFromFile(const std::string& fileName);
    Status Save(const DataFolder& folder) const; // rewrites the folder's "Group.lst"
    Status SaveToFile(const std::string& fileName) const;
    void SortByName(); // CompareByName
    // The groups having a member named exactly so; the new list shares the group records.
    TGroupList GroupsOfAbonent(const std::string& abonentName) const;
    // Ties every member to the first subscriber of the same name (sharing its record), then Save(folder).
    Status LinkMembers(const TAbonentList& abonents, const DataFolder& folder);
};

class TProviderList final : public TRecordList<TProvider>, public WatchedListFile
{
public:
    Status LoadFromFile(const std::string& fileName);
    Status Save(const DataFolder& folder) const; // rewrites the folder's "Company.lst"
    Status SaveToFile(const std::string& fileName) const;
    void AddHomeProvider();
};

// Sort comparisons: names as unsigned cp1251 bytes (a prefix first); numbers as signed 32-bit.
int CompareByName(const TAbonent& a, const TAbonent& b);
int CompareByName(const TGroup& a, const TGroup& b);
int CompareByNumber(const TAbonent& a, const TAbonent& b);
int CompareNames(std::string_view a, std::string_view b);

} // namespace zolbin
