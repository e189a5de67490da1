#pragma once
// The three directory lists and their list files: "Abonent.lst", "Group.lst", "Company.lst".
//
// Loading: LoadFromFile appends the records of the file. A file that cannot be opened shows the I/O
// error text (Prompts) and returns false. A file that ends inside a record throws EInOutError(100,
// "Read beyond end of file") with the complete records already appended. Loaders never allocate by a
// count read from the file: a negative member count, or one larger than the rest of the file, is a
// damaged file (EInOutError 100).
//
// Saving: the whole file is rewritten through AtomicWriter. A file that cannot be created shows the
// I/O error text and returns with nothing written; a failed write throws EInOutError and leaves the
// previous file intact. A file that another program has changed since the list last read or wrote it
// is not rewritten at all: the save throws EListFileChanged.

#include "directory/RecordList.h"
#include "directory/Records.h"
#include "platform/Errors.h"
#include "platform/FileStamp.h"

#include <optional>
#include <string>

namespace zolbin {

inline constexpr const char* AbonentFileName = "Abonent.lst";
inline constexpr const char* GroupFileName = "Group.lst";
inline constexpr const char* CompanyFileName = "Company.lst";

// A list file changed on disk since this process last read or wrote it (another window, a script, a
// restored backup). Nothing was written; the host reloads the directory and shows text().
class EListFileChanged : public EZolbinError
{
public:
    explicit EListFileChanged(const std::string& fileName);
    const std::string& fileName() const { return fileName_; }

private:
    std::string fileName_;
};

// The file behind a list: read whole, rewritten whole, and watched for changes made behind the list's
// back. What the list last read or wrote is noted (device, inode, size, modification time); a rewrite of
// a file that is no longer that one throws EListFileChanged and writes nothing. A list that has seen no
// file yet (one built in memory) rewrites without that check.
class WatchedListFile
{
public:
    // For a file not loaded because it does not exist: should one appear, it counts as a change.
    void NoteMissingFile(const std::string& fileName) { note(fileName, FileStamp{}); }
    // True when the file is not the one this list last read or wrote; false for a file it has not seen.
    bool FileChanged(const std::string& fileName) const;

protected:
    // The whole file; a failed open shows the I/O error text and gives false.
    bool readFile(const std::string& fileName, std::string& bytes) const;
    // Through AtomicWriter: a file that cannot be created shows the I/O error text and is left alone; a
    // failed write throws EInOutError and leaves the old file intact.
    void rewriteFile(const std::string& fileName, const std::string& bytes) const;

private:
    void note(const std::string& fileName, const FileStamp& stamp) const;

    // Noted by the const save operations too.
    mutable std::string fileName_;
    mutable std::optional<FileStamp> stamp_;
};

class TAbonentList : public TRecordList<TAbonent>, public WatchedListFile
{
public:
    bool LoadFromFile(const std::string& fileName);
    void Save() const; // rewrites "Abonent.lst"
    void SaveToFile(const std::string& fileName) const;
    // First subscriber whose name (at most 25 characters) begins with the text, case folded with
    // UpperCaseText; an empty text gives -1.
    int FindByPrefix(const std::string& text) const;
    // The subscribers whose Provider equals the name exactly; the new list shares the records.
    TAbonentList AbonentsOfProvider(const std::string& providerName) const;
    // "Name -- Number" lines, as the main window shows the subscribers.
    std::vector<std::string> DisplayLines() const;
};

struct TGroup
{
    FixedText<25> Name;
    TAbonentList Members;
};

using GroupPtr = std::shared_ptr<TGroup>;

class TGroupList : public TRecordList<TGroup>, public WatchedListFile
{
public:
    bool LoadFromFile(const std::string& fileName);
    void Save() const; // rewrites "Group.lst"
    void SaveToFile(const std::string& fileName) const;
    // The groups having a member named exactly so; the new list shares the group records.
    TGroupList GroupsOfAbonent(const std::string& abonentName) const;
    // Ties every member to the first subscriber of the same name (sharing its record), then Save().
    void LinkMembers(const TAbonentList& abonents);
};

class TProviderList : public TRecordList<TProvider>, public WatchedListFile
{
public:
    bool LoadFromFile(const std::string& fileName);
    void SaveToFile(const std::string& fileName) const;
    void AddHomeProvider();
};

// Sort comparisons: names as unsigned cp1251 bytes (a prefix first); numbers as signed 32-bit.
int CompareByName(const TAbonent& a, const TAbonent& b);
int CompareByName(const TGroup& a, const TGroup& b);
int CompareByNumber(const TAbonent& a, const TAbonent& b);
int CompareNames(const std::string& a, const std::string& b);

} // namespace zolbin
