// SPDX-License-Identifier: GPL-3.0-or-later
#include "directory/Lists.h"

#include "directory/TextChecks.h"
#include "platform/Codepage.h"
#include "platform/FileIo.h"

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
Status WatchedListFile::readFile(const std::string& fileName, std::string& bytes) const
{
    const FileStamp stamp = fileStampOf(fileName);
    if (const int err = readWholeFile(fileName, bytes))
        return Failure::fromErrno(err);
    note(fileName, stamp);
    return {};
}

Status WatchedListFile::rewriteFile(const std::string& fileName, const std::string& bytes) const
{
    if (FileChanged(fileName))
        return Failure{
            FailureCode::ListFileChanged,
            cp("Файл ") + fileName +
                cp(" был изменён другой программой. Список загружен заново, повторите изменение.")};
    const Status written = rewriteWholeFile(fileName, bytes);
    if (written)
        note(fileName, fileStampOf(fileName));
    return written;
}

namespace {

constexpr std::size_t GroupNameSize = 25;
constexpr std::size_t GroupHeaderSize = GroupNameSize + 4;

// Appends the fixed-size records of a file to a list; a file that ends inside a record keeps the
// complete ones and fails with "Read beyond end of file".
template <typename Record, typename List> Status appendRecords(const std::string& bytes, List& list)
{
    const std::size_t whole = bytes.size() / Record::RecordSize;
    for (std::size_t i = 0; i < whole; ++i)
        list.Add(std::make_shared<Record>(
            Record::decode(std::string_view(bytes).substr(i * Record::RecordSize, Record::RecordSize))));
    if (bytes.size() % Record::RecordSize != 0)
        return Failure::io(IoCode::ReadBeyondEnd);
    return {};
}

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

} // namespace

// --- Subscribers -------------------------------------------------------------------------------------

Status TAbonentList::LoadFromFile(const std::string& fileName)
{
    std::string bytes;
    if (Status read = readFile(fileName, bytes); !read)
        return read;
    return appendRecords<TAbonent>(bytes, *this);
}

Status TAbonentList::Save() const
{
    return SaveToFile(AbonentFileName);
}

Status TAbonentList::SaveToFile(const std::string& fileName) const
{
    std::string bytes;
    bytes.reserve(static_cast<std::size_t>(Count()) * TAbonent::RecordSize);
    for (const Ptr& a : *this)
        bytes += a->encode();
    return rewriteFile(fileName, bytes);
}

int TAbonentList::FindByPrefix(const std::string& text) const
{
    const std::string prefix = UpperCaseText(text);
    if (prefix.empty())
        return -1;
    for (int i = 0; i < Count(); ++i)
        if (UpperCaseText(Items(i)->Name.str()).starts_with(prefix))
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

std::vector<std::string> TAbonentList::DisplayLines() const
{
    std::vector<std::string> lines;
    lines.reserve(static_cast<std::size_t>(Count()));
    for (const Ptr& a : *this)
        lines.push_back(a->Name.str() + " -- " + std::to_string(a->Number));
    return lines;
}

// --- Groups ------------------------------------------------------------------------------------------

Status TGroupList::LoadFromFile(const std::string& fileName)
{
    std::string bytes;
    if (Status read = readFile(fileName, bytes); !read)
        return read;
    const std::string_view all(bytes);
    std::size_t pos = 0;
    while (pos < all.size()) {
        const std::size_t left = all.size() - pos;
        if (left < GroupHeaderSize)
            return Failure::io(IoCode::ReadBeyondEnd);
        const std::int32_t count = getInt32(all.substr(pos + GroupNameSize, 4));
        // The count is checked against what the file holds before anything is built from it.
        if (count < 0 || static_cast<std::size_t>(count) > (left - GroupHeaderSize) / TAbonent::RecordSize)
            return Failure::io(IoCode::ReadBeyondEnd);
        auto group = std::make_shared<TGroup>();
        group->Name = all.substr(pos, GroupNameSize);
        pos += GroupHeaderSize;
        for (std::int32_t i = 0; i < count; ++i, pos += TAbonent::RecordSize)
            group->Members.Add(
                std::make_shared<TAbonent>(TAbonent::decode(all.substr(pos, TAbonent::RecordSize))));
        Add(std::move(group));
    }
    return {};
}

Status TGroupList::Save() const
{
    return SaveToFile(GroupFileName);
}

Status TGroupList::SaveToFile(const std::string& fileName) const
{
    std::string bytes;
    for (const Ptr& g : *this) {
        bytes.append(g->Name.raw().data(), GroupNameSize);
        putInt32(bytes, g->Members.Count());
        for (const AbonentPtr& m : g->Members)
            bytes += m->encode();
    }
    return rewriteFile(fileName, bytes);
}

TGroupList TGroupList::GroupsOfAbonent(const std::string& abonentName) const
{
    TGroupList result;
    for (const Ptr& g : *this)
        if (g->Members.IndexOfName(abonentName) >= 0)
            result.Add(g);
    return result;
}

Status TGroupList::LinkMembers(const TAbonentList& abonents)
{
    for (const Ptr& g : *this) {
        TAbonentList& members = g->Members;
        for (int i = 0; i < members.Count(); ++i) {
            const int found = abonents.IndexOfName(members[i]->Name.str());
            if (found < 0 || members[i] == abonents[found])
                continue;
            members.Delete(i);
            members.Insert(i, abonents[found]);
        }
    }
    return Save();
}

// --- Paging companies --------------------------------------------------------------------------------

Status TProviderList::LoadFromFile(const std::string& fileName)
{
    std::string bytes;
    if (Status read = readFile(fileName, bytes); !read)
        return read;
    return appendRecords<TProvider>(bytes, *this);
}

Status TProviderList::SaveToFile(const std::string& fileName) const
{
    std::string bytes;
    bytes.reserve(static_cast<std::size_t>(Count()) * TProvider::RecordSize);
    for (const Ptr& p : *this)
        bytes += p->encode();
    return rewriteFile(fileName, bytes);
}

void TProviderList::AddHomeProvider()
{
    Add(std::make_shared<TProvider>(HomeProviderDefaults()));
}

// --- Sort comparisons --------------------------------------------------------------------------------

int CompareNames(const std::string& a, const std::string& b)
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
    return CompareNames(a.Name.str(), b.Name.str());
}

int CompareByName(const TGroup& a, const TGroup& b)
{
    return CompareNames(a.Name.str(), b.Name.str());
}

int CompareByNumber(const TAbonent& a, const TAbonent& b)
{
    if (a.Number == b.Number)
        return 0;
    return a.Number < b.Number ? -1 : 1;
}

} // namespace zolbin
