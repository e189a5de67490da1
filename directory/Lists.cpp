// SPDX-License-Identifier: GPL-3.0-or-later
#include "directory/Lists.h"

#include "directory/NameFilter.h"
#include "directory/RecordBlocks.h"
#include "directory/TextChecks.h"
#include "platform/Codepage.h"
#include "platform/FileIo.h"

#include <array>
#include <charconv>
#include <cstring>
#include <unordered_map>

namespace zolbin {

// --- The list files ----------------------------------------------------------------------------------

bool WatchedListFile::FileChanged(const std::string& fileName) const
{
    return stamp_.has_value() && fileName == fileName_ && fileStampOf(fileName) != *stamp_;
}

void WatchedListFile::note(const std::string& fileName, const FileStamp& stamp) const
{
    fileName_ = fileName;
    stamp_ = stamp;
}

// The stamp is taken before the read: a change made while reading shows as a change at the next save.
Status WatchedListFile::readFile(const std::string& fileName,
                                 const std::function<Status(FileReader&)>& parse) const
{
    const FileStamp stamp = fileStampOf(fileName);
    FileReader file;
    if (const int err = file.open(fileName))
        return Failure::fromErrno(err);
    Status parsed = parse(file);
    if (file.error() != 0)
        return Failure::fromErrno(file.error());
    note(fileName, stamp);
    return parsed;
}

Status WatchedListFile::rewriteFile(const std::string& fileName, const std::string& bytes) const
{
    if (FileChanged(fileName))
        return Failure{FailureCode::ListFileChanged,
                       tx("Lists", "Файл %1 был изменён другой программой. Список загружен заново, повторите "
                                   "изменение.")
                           .arg(baseNameOf(fileName))};
    const Status written = rewriteWholeFile(fileName, bytes, synced);
    if (written) {
        note(fileName, fileStampOf(fileName));
        if (afterWrite)
            afterWrite();
    }
    return written;
}

namespace {

constexpr std::size_t GroupNameSize = 25;
constexpr std::size_t GroupHeaderSize = GroupNameSize + 4;

void putInt32(std::string& out, std::int32_t value)
{
    const auto u = static_cast<std::uint32_t>(value);
    for (int i = 0; i < 4; ++i)
        out.push_back(static_cast<char>((u >> (8 * i)) & 0xFF));
}

std::int32_t getInt32(std::string_view in)
{
    std::uint32_t u = 0;
    for (std::size_t i = 0; i < 4; ++i)
        u |= static_cast<std::uint32_t>(static_cast<unsigned char>(in[i])) << (8 * i);
    return static_cast<std::int32_t>(u);
}

// Reads the fixed-size records of a file in order; a file that ends inside a record keeps the complete
// ones and fails with "Read beyond end of file".
template <typename Record> Status readRecords(FileReader& file, std::vector<std::shared_ptr<Record>>& records)
{
    const std::size_t expected = file.sizeAtOpen() / Record::RecordSize;
    RecordBlocks<Record> blocks(expected);
    records.reserve(expected);
    for (;;) {
        const std::string_view bytes = file.take(Record::RecordSize);
        if (bytes.size() == Record::RecordSize)
            records.push_back(blocks.decode(bytes));
        else
            return bytes.empty() ? Status{} : Status{Failure::io(IoCode::ReadBeyondEnd)};
    }
}

// The records read count when the file was read whole, or up to its damage.
template <typename List, typename Ptr> Status keepRead(List& list, Status read, std::vector<Ptr>& records)
{
    if (read || IsDamagedListFile(read.failure()))
        list.Append(std::move(records));
    return read;
}

// Groups: a header (name, member count) and the member records. A group whose members the file does
// not hold whole is damage, and is not kept.
Status readGroups(FileReader& file, std::vector<GroupPtr>& groups)
{
    RecordBlocks<TAbonent> members(file.sizeAtOpen() / TAbonent::RecordSize);
    for (;;) {
        const std::string_view header = file.take(GroupHeaderSize);
        if (header.empty())
            return {};
        if (header.size() < GroupHeaderSize)
            return Failure::io(IoCode::ReadBeyondEnd);
        const std::int32_t count = getInt32(header.substr(GroupNameSize, 4));
        if (count < 0)
            return Failure::io(IoCode::ReadBeyondEnd);
        auto group = std::make_shared<TGroup>();
        group->Name = header.substr(0, GroupNameSize);
        std::vector<AbonentPtr> read;
        for (std::int32_t i = 0; i < count; ++i) {
            const std::string_view bytes = file.take(TAbonent::RecordSize);
            if (bytes.size() < TAbonent::RecordSize)
                return Failure::io(IoCode::ReadBeyondEnd);
            read.push_back(members.decode(bytes));
        }
        group->Members.Append(std::move(read));
        groups.push_back(std::move(group));
    }
}

} // namespace

// --- Subscribers -------------------------------------------------------------------------------------

Status TAbonentList::LoadFromFile(const std::string& fileName)
{
    std::vector<Ptr> records;
    const Status read = readFile(fileName, [&](FileReader& file) { return readRecords(file, records); });
    return keepRead(*this, read, records);
}

Status TAbonentList::Save(const DataFolder& folder) const
{
    return SaveToFile(folder.path(AbonentFileName));
}

Status TAbonentList::SaveToFile(const std::string& fileName) const
{
    std::string bytes;
    bytes.reserve(static_cast<std::size_t>(Count()) * TAbonent::RecordSize);
    for (const Ptr& a : *this)
        a->encodeTo(bytes);
    return rewriteFile(fileName, bytes);
}

namespace {

// UpperCaseText(name).starts_with(prefix), without making the upper-case copy: the name's bytes are
// read only as far as the prefix goes (most names differ at the first).
bool upperCaseStartsWith(const FixedText<25>& name, std::string_view prefix)
{
    if (prefix.size() > FixedText<25>::size)
        return false;
    const auto& bytes = name.raw();
    for (std::size_t i = 0; i < prefix.size(); ++i) {
        const auto c = static_cast<unsigned char>(bytes[i]);
        if (c == 0 || UpperCaseChar(c) != static_cast<unsigned char>(prefix[i]))
            return false;
    }
    return true;
}

} // namespace

int TAbonentList::FindByPrefix(const std::string& text) const
{
    const std::string prefix = UpperCaseText(text);
    if (prefix.empty())
        return -1;
    for (int i = 0; i < Count(); ++i)
        if (upperCaseStartsWith(Items(i)->Name, prefix))
            return i;
    return -1;
}

TAbonentList TAbonentList::AbonentsOfProvider(const std::string& providerName) const
{
    TAbonentList result;
    for (const Ptr& a : *this)
        if (a->Provider.str() == providerName)
            result.Add(a);
    return result;
}

namespace {

// A name copied out of its record for sorting.
struct NameKey
{
    explicit NameKey(std::string_view name) : size(static_cast<std::uint8_t>(name.size()))
    {
        std::copy(name.begin(), name.end(), bytes.begin());
    }
    std::string_view view() const { return {bytes.data(), size}; }

    std::array<char, 25> bytes{};
    std::uint8_t size;
};

bool nameBefore(const NameKey& a, const NameKey& b)
{
    return CompareNames(a.view(), b.view()) < 0;
}

} // namespace

void TAbonentList::SortByName()
{
    SortByKey([](const TAbonent& a) { return NameKey(a.Name.view()); }, nameBefore);
}

void TAbonentList::SortByNumber()
{
    SortByKey([](const TAbonent& a) { return a.Number; },
              [](std::int32_t a, std::int32_t b) { return a < b; });
}

DisplaySuffix::DisplaySuffix(std::int32_t number)
{
    std::memcpy(bytes_, " -- ", 4);
    size_ = static_cast<std::size_t>(std::to_chars(bytes_ + 4, bytes_ + sizeof bytes_, number).ptr - bytes_);
}

std::vector<std::string> TAbonentList::DisplayLines() const
{
    std::vector<std::string> lines;
    lines.reserve(static_cast<std::size_t>(Count()));
    for (const Ptr& a : *this) {
        std::string line = a->Name.str();
        line += DisplaySuffix(a->Number).view();
        lines.push_back(std::move(line));
    }
    return lines;
}

// --- Groups ------------------------------------------------------------------------------------------

Status TGroupList::LoadFromFile(const std::string& fileName)
{
    std::vector<Ptr> groups;
    const Status read = readFile(fileName, [&](FileReader& file) { return readGroups(file, groups); });
    return keepRead(*this, read, groups);
}

Status TGroupList::Save(const DataFolder& folder) const
{
    return SaveToFile(folder.path(GroupFileName));
}

Status TGroupList::SaveToFile(const std::string& fileName) const
{
    std::string bytes;
    for (const Ptr& g : *this) {
        bytes.append(g->Name.raw().data(), GroupNameSize);
        putInt32(bytes, g->Members.Count());
        for (const AbonentPtr& m : g->Members)
            m->encodeTo(bytes);
    }
    return rewriteFile(fileName, bytes);
}

void TGroupList::SortByName()
{
    SortByKey([](const TGroup& g) { return NameKey(g.Name.view()); }, nameBefore);
}

TGroupList TGroupList::GroupsOfAbonent(const std::string& abonentName) const
{
    TGroupList result;
    for (const Ptr& g : *this)
        if (g->Members.IndexOfName(abonentName) >= 0)
            result.Add(g);
    return result;
}

Status TGroupList::LinkMembers(const TAbonentList& abonents, const DataFolder& folder)
{
    // The members' names, each with the first subscriber of that name (-1: none). Every look-up is made
    // before any member is replaced: a replaced member's record, which the names point into, may go.
    std::unordered_map<std::string_view, int> firstOfName;
    NameFilter asked;
    for (const Ptr& g : *this)
        for (const AbonentPtr& m : g->Members)
            if (firstOfName.emplace(m->Name.view(), -1).second)
                asked.add(m->Name.view());
    std::size_t unresolved = firstOfName.size();
    for (int i = 0; i < abonents.Count() && unresolved > 0; ++i) {
        if (!asked.mayHold(abonents[i]->Name.view()))
            continue;
        const auto found = firstOfName.find(abonents[i]->Name.view());
        if (found != firstOfName.end() && found->second < 0) {
            found->second = i;
            --unresolved;
        }
    }
    std::vector<int> subscriberOf;
    for (const Ptr& g : *this)
        for (const AbonentPtr& m : g->Members)
            subscriberOf.push_back(firstOfName.at(m->Name.view()));
    firstOfName.clear();
    std::size_t next = 0;
    for (const Ptr& g : *this) {
        TAbonentList& members = g->Members;
        for (int i = 0; i < members.Count(); ++i) {
            const int found = subscriberOf[next++];
            if (found >= 0 && members[i] != abonents[found])
                members.Replace(i, abonents[found]);
        }
    }
    return Save(folder);
}

// --- Paging companies --------------------------------------------------------------------------------

Status TProviderList::LoadFromFile(const std::string& fileName)
{
    std::vector<Ptr> records;
    const Status read = readFile(fileName, [&](FileReader& file) { return readRecords(file, records); });
    return keepRead(*this, read, records);
}

Status TProviderList::Save(const DataFolder& folder) const
{
    return SaveToFile(folder.path(CompanyFileName));
}

Status TProviderList::SaveToFile(const std::string& fileName) const
{
    std::string bytes;
    bytes.reserve(static_cast<std::size_t>(Count()) * TProvider::RecordSize);
    for (const Ptr& p : *this)
        p->encodeTo(bytes);
    return rewriteFile(fileName, bytes);
}

void TProviderList::AddHomeProvider()
{
    Add(std::make_shared<TProvider>(HomeProviderDefaults()));
}

// --- Sort comparisons --------------------------------------------------------------------------------

int CompareNames(std::string_view a, std::string_view b)
{
    const std::size_t n = std::min(a.size(), b.size());
    for (std::size_t i = 0; i < n; ++i) {
        const auto x = static_cast<unsigned char>(a[i]);
        const auto y = static_cast<unsigned char>(b[i]);
        if (x != y)
            return x < y ? -1 : 1;
    }
    if (a.size() == b.size())
        return 0;
    return a.size() < b.size() ? -1 : 1;
}

int CompareByName(const TAbonent& a, const TAbonent& b)
{
    return CompareNames(a.Name.view(), b.Name.view());
}

int CompareByName(const TGroup& a, const TGroup& b)
{
    return CompareNames(a.Name.view(), b.Name.view());
}

int CompareByNumber(const TAbonent& a, const TAbonent& b)
{
    if (a.Number == b.Number)
        return 0;
    return a.Number < b.Number ? -1 : 1;
}

} // namespace zolbin
