// SPDX-License-Identifier: GPL-3.0-or-later
#include "directory/DirectoryEdit.h"

#include "directory/DirectoryEditInPlace.h"
#include "directory/Lists.h"
#include "directory/Records.h"
#include "platform/SameBytes.h"

#include <algorithm>
#include <cstdint>
#include <string_view>
#include <unordered_map>

namespace zolbin {

namespace {

constexpr std::size_t GroupNameSize = 25;
constexpr std::size_t GroupHeaderSize = GroupNameSize + 4;

// One record of a list: its name and its bytes as a save writes them.
struct Rec
{
    std::string name;
    std::string bytes;
    friend bool operator==(const Rec&, const Rec&) = default;
};
using Recs = std::vector<Rec>;

std::uint32_t getCount(std::string_view in)
{
    std::uint32_t u = 0;
    for (std::size_t i = 0; i < 4; ++i)
        u |= static_cast<std::uint32_t>(static_cast<unsigned char>(in[i])) << (8 * i);
    return u;
}

template <typename Record> Rec fixedRecord(std::string_view bytes)
{
    const Record record = Record::decode(bytes);
    return {record.Name.str(), record.encode()};
}

// The records of a list's bytes, as loading and saving the list makes them; nothing for damaged bytes.
std::optional<Recs> split(DirectoryList list, std::string_view bytes)
{
    Recs recs;
    if (list != DirectoryList::Groups) {
        const std::size_t size =
            list == DirectoryList::Abonents ? TAbonent::RecordSize : TProvider::RecordSize;
        if (bytes.size() % size != 0)
            return std::nullopt;
        for (std::size_t at = 0; at < bytes.size(); at += size)
            recs.push_back(list == DirectoryList::Abonents ? fixedRecord<TAbonent>(bytes.substr(at, size))
                                                           : fixedRecord<TProvider>(bytes.substr(at, size)));
        return recs;
    }
    std::size_t at = 0;
    while (at < bytes.size()) {
        if (bytes.size() - at < GroupHeaderSize)
            return std::nullopt;
        const std::uint32_t count = getCount(bytes.substr(at + GroupNameSize, 4));
        if (count > (bytes.size() - at - GroupHeaderSize) / TAbonent::RecordSize)
            return std::nullopt;
        Rec group{FixedText<GroupNameSize>(bytes.substr(at, GroupNameSize)).str(),
                  std::string(bytes.substr(at, GroupHeaderSize))};
        at += GroupHeaderSize;
        for (std::uint32_t i = 0; i < count; ++i, at += TAbonent::RecordSize)
            group.bytes += fixedRecord<TAbonent>(bytes.substr(at, TAbonent::RecordSize)).bytes;
        recs.push_back(std::move(group));
    }
    return recs;
}

std::string join(const Recs& recs)
{
    std::string bytes;
    for (const Rec& r : recs)
        bytes += r.bytes;
    return bytes;
}

int find(const Recs& recs, const std::string& name, const std::string* bytes = nullptr)
{
    for (std::size_t i = 0; i < recs.size(); ++i)
        if (recs[i].name == name && (bytes == nullptr || recs[i].bytes == *bytes))
            return static_cast<int>(i);
    return -1;
}

// A group's members, each a subscriber's bytes.
std::vector<std::string> membersOf(const Rec& group)
{
    std::vector<std::string> members;
    for (std::size_t at = GroupHeaderSize; at < group.bytes.size(); at += TAbonent::RecordSize)
        members.push_back(group.bytes.substr(at, TAbonent::RecordSize));
    return members;
}

void setMembers(Rec& group, const std::vector<std::string>& members)
{
    std::string bytes = group.bytes.substr(0, GroupNameSize);
    const auto count = static_cast<std::uint32_t>(members.size());
    for (int i = 0; i < 4; ++i)
        bytes.push_back(static_cast<char>((count >> (8 * i)) & 0xFF));
    for (const std::string& m : members)
        bytes += m;
    group.bytes = std::move(bytes);
}

// What the windows do to the groups when a subscriber changes: the members that were the record before
// become the record after (a renamed subscriber stays in its groups), then every member is tied to the
// first subscriber of its name, as TGroupList::LinkMembers does. `findFirst` finds those subscribers
// (FindFirstOfNames' contract).
template <typename FindFirst>
void linkMembers(Recs& groups, const FindFirst& findFirst, const DirectoryEdit* changed)
{
    std::vector<std::vector<std::string>> members;
    members.reserve(groups.size());
    std::vector<bool> relinked(groups.size(), false);
    NamedRecords first;
    for (std::size_t g = 0; g < groups.size(); ++g) {
        members.push_back(membersOf(groups[g]));
        for (std::string& m : members.back()) {
            if (changed != nullptr && m == changed->beforeBytes) {
                m = changed->record;
                relinked[g] = true;
            }
            first.emplace(RecordName(m), std::string_view());
        }
    }
    findFirst(first);
    for (std::size_t g = 0; g < groups.size(); ++g) {
        for (std::string& m : members[g])
            if (const auto found = first.find(RecordName(m));
                found != first.end() && !found->second.empty() && found->second != m) {
                m = std::string(found->second);
                relinked[g] = true;
            }
        // A group none of whose members changed keeps its bytes as they are.
        if (relinked[g])
            setMembers(groups[g], members[g]);
    }
}

// The first member of the name leaves each group, as RemoveAbonent does.
void leaveGroups(Recs& groups, const std::string& name)
{
    for (Rec& group : groups) {
        std::vector<std::string> members = membersOf(group);
        const auto it = std::find_if(members.begin(), members.end(),
                                     [&](const std::string& m) { return RecordName(m) == name; });
        if (it == members.end())
            continue;
        members.erase(it);
        setMembers(group, members);
    }
}

// The cascades of an edit of the subscribers' list to the groups; `firstOf` as linkMembers takes it.
template <typename FindFirst>
void cascadeToGroups(const DirectoryEdit& e, DirectoryBytes& lists, const FindFirst& firstOf)
{
    if (e.list != DirectoryList::Abonents || e.kind == EditKind::Move || e.kind == EditKind::Order)
        return;
    std::optional<Recs> groups = split(DirectoryList::Groups, lists.groups);
    if (!groups)
        return;
    if (e.kind == EditKind::Delete)
        leaveGroups(*groups, e.before);
    else
        linkMembers(*groups, firstOf, e.kind == EditKind::Change ? &e : nullptr);
    lists.groups = join(*groups);
}

// The subscribers of the company lose it, as RemoveProvider does.
void leaveCompany(Recs& abonents, const std::string& company)
{
    for (Rec& r : abonents) {
        TAbonent a = TAbonent::decode(r.bytes);
        if (a.Provider.str() != company)
            continue;
        a.Provider = std::string_view();
        r.bytes = a.encode();
    }
}

// A company deleted: its subscribers lose it.
void cascadeToCompany(const DirectoryEdit& e, DirectoryBytes& lists)
{
    if (e.list != DirectoryList::Companies || e.kind != EditKind::Delete)
        return;
    std::optional<Recs> subscribers = split(DirectoryList::Abonents, lists.abonents);
    if (!subscribers)
        return;
    leaveCompany(*subscribers, e.before);
    lists.abonents = join(*subscribers);
}

void put(Recs& recs, int position, Rec rec)
{
    const auto at = position < 0 ? recs.size() : std::min(recs.size(), static_cast<std::size_t>(position));
    recs.insert(recs.begin() + static_cast<std::ptrdiff_t>(at), std::move(rec));
}

// The records of `latest` in the order `mine` gives them; those it does not hold stay after, in order.
Recs reordered(const Recs& latest, const Recs& mine)
{
    Recs ordered, rest = latest;
    for (const Rec& m : mine)
        if (const auto it = std::find(rest.begin(), rest.end(), m); it != rest.end()) {
            ordered.push_back(*it);
            rest.erase(it);
        }
    ordered.insert(ordered.end(), rest.begin(), rest.end());
    return ordered;
}

} // namespace

const char* FileNameOf(DirectoryList list)
{
    switch (list) {
    case DirectoryList::Abonents:
        return AbonentFileName;
    case DirectoryList::Groups:
        return GroupFileName;
    case DirectoryList::Companies:
        break;
    }
    return CompanyFileName;
}

const char* KeyOf(DirectoryList list)
{
    switch (list) {
    case DirectoryList::Abonents:
        return "abonents";
    case DirectoryList::Groups:
        return "groups";
    case DirectoryList::Companies:
        break;
    }
    return "companies";
}

std::string& DirectoryBytes::of(DirectoryList list)
{
    return list == DirectoryList::Abonents ? abonents : list == DirectoryList::Groups ? groups : companies;
}

const std::string& DirectoryBytes::of(DirectoryList list) const
{
    return list == DirectoryList::Abonents ? abonents : list == DirectoryList::Groups ? groups : companies;
}

bool ListIntact(DirectoryList list, const std::string& bytes)
{
    // What split() refuses, told without making the records.
    if (list != DirectoryList::Groups)
        return bytes.size() %
                   (list == DirectoryList::Abonents ? TAbonent::RecordSize : TProvider::RecordSize) ==
               0;
    const std::string_view all(bytes);
    std::size_t at = 0;
    while (at < all.size()) {
        if (all.size() - at < GroupHeaderSize)
            return false;
        const std::uint32_t count = getCount(all.substr(at + GroupNameSize, 4));
        if (count > (all.size() - at - GroupHeaderSize) / TAbonent::RecordSize)
            return false;
        at += GroupHeaderSize + std::size_t{count} * TAbonent::RecordSize;
    }
    return true;
}

namespace {

// The whole records of a fixed-size list equal byte for byte at the start of both, and then at the end
// (never the same record twice): equal bytes make equal records, so only the rest need be read.
std::pair<std::size_t, std::size_t> sameEnds(DirectoryList list, std::string_view base, std::string_view mine)
{
    if (list == DirectoryList::Groups)
        return {0, 0};
    const std::size_t size = list == DirectoryList::Abonents ? TAbonent::RecordSize : TProvider::RecordSize;
    if (base.size() % size != 0 || mine.size() % size != 0)
        return {0, 0};
    const std::size_t most = std::min(base.size(), mine.size());
    // The bytes equal at the start, then at the end of what is left.
    const std::size_t head = SameLeadingBytes(base, mine) / size;
    const std::size_t tail = SameTrailingBytes(base, mine, most - head * size) / size;
    return {head, tail};
}

Rec recordOf(DirectoryList list, std::string_view bytes)
{
    return list == DirectoryList::Abonents ? fixedRecord<TAbonent>(bytes) : fixedRecord<TProvider>(bytes);
}

std::vector<DirectoryEdit> editsBetween(DirectoryList list, const std::string& base, const std::string& mine,
                                        bool whole);

} // namespace

std::vector<DirectoryEdit> EditsBetween(DirectoryList list, const std::string& base, const std::string& mine)
{
    return editsBetween(list, base, mine, false);
}

namespace {

std::vector<DirectoryEdit> editsBetween(DirectoryList list, const std::string& base, const std::string& mine,
                                        bool readWhole)
{
    if (base == mine)
        return {};
    const auto [skip, keep] =
        readWhole ? std::pair<std::size_t, std::size_t>{0, 0} : sameEnds(list, base, mine);
    const std::size_t size = list == DirectoryList::Abonents ? TAbonent::RecordSize : TProvider::RecordSize;
    const std::string_view b0(base), m0(mine);
    const std::optional<Recs> b = split(list, b0.substr(skip * size, base.size() - (skip + keep) * size)),
                              m = split(list, m0.substr(skip * size, mine.size() - (skip + keep) * size));
    // Made only when needed: it holds both lists whole.
    const auto whole = [&] {
        return std::vector<DirectoryEdit>{{EditKind::Whole, list, {}, {}, base, mine, -1}};
    };
    if (!b || !m)
        return whole();
    std::size_t head = 0;
    while (head < b->size() && head < m->size() && (*b)[head] == (*m)[head])
        ++head;
    // Records read alike to the end of what was read might go on alike into those not read (records whose
    // bytes differ where a save writes zeros): then they are all read.
    if ((skip > 0 || keep > 0) && (head == b->size() || head == m->size())) {
        const std::size_t next = (skip + head) * size;
        if (next + size <= base.size() && next + size <= mine.size() &&
            recordOf(list, b0.substr(next, size)) == recordOf(list, m0.substr(next, size)))
            return editsBetween(list, base, mine, true);
    }
    std::size_t tail = 0;
    while (tail < b->size() - head && tail < m->size() - head &&
           (*b)[b->size() - 1 - tail] == (*m)[m->size() - 1 - tail])
        ++tail;
    const std::size_t removed = b->size() - head - tail, added = m->size() - head - tail;
    const auto at = static_cast<int>(head), shift = static_cast<int>(skip); // a record's place: index + shift
    if (removed == 0 && added == 1) {
        const Rec& r = (*m)[head];
        return {{EditKind::Add, list, {}, r.name, {}, r.bytes, at + shift}};
    }
    if (removed == 1 && added == 0) {
        const Rec& r = (*b)[head];
        return {{EditKind::Delete, list, r.name, {}, r.bytes, {}, at + shift}};
    }
    if (removed == added) {
        // One record moved: the window's up and down commands.
        const Rec &first = (*b)[head], &last = (*b)[head + removed - 1];
        if (removed >= 2 && (*m)[head + removed - 1] == first &&
            std::equal(b->begin() + at + 1, b->begin() + at + static_cast<int>(removed), m->begin() + at))
            return {{EditKind::Move, list, first.name, first.name, first.bytes, first.bytes,
                     at + shift + static_cast<int>(removed) - 1}};
        if (removed >= 2 && (*m)[head] == last &&
            std::equal(b->begin() + at, b->begin() + at + static_cast<int>(removed) - 1, m->begin() + at + 1))
            return {{EditKind::Move, list, last.name, last.name, last.bytes, last.bytes, at + shift}};
        // Records changed where they stand: each is an edit of its own (a company's subscribers, the
        // members a change ties to a subscriber).
        bool inPlace = true;
        for (std::size_t i = head; i < head + removed && inPlace; ++i)
            inPlace = (*b)[i].name == (*m)[i].name || removed == 1;
        if (inPlace) {
            std::vector<DirectoryEdit> edits;
            for (std::size_t i = head; i < head + removed; ++i)
                if ((*b)[i] != (*m)[i])
                    edits.push_back({EditKind::Change, list, (*b)[i].name, (*m)[i].name, (*b)[i].bytes,
                                     (*m)[i].bytes, static_cast<int>(i) + shift});
            return edits;
        }
        Recs sortedB = *b, sortedM = *m;
        const auto less = [](const Rec& x, const Rec& y) { return x.bytes < y.bytes; };
        std::sort(sortedB.begin(), sortedB.end(), less);
        std::sort(sortedM.begin(), sortedM.end(), less);
        if (sortedB == sortedM)
            return {{EditKind::Order, list, {}, {}, base, mine, -1}};
    }
    return whole();
}

} // namespace

std::optional<std::string> ApplyEdit(const DirectoryEdit& e, DirectoryBytes& lists)
{
    // A long list of records as a save writes them is edited where the record stands.
    if (std::optional<InPlaceEdit> made = EditInPlace(e, lists.of(e.list))) {
        if (made->refused || made->unchanged)
            return made->refused;
        cascadeToGroups(e, lists, [&lists](auto& names) { FindFirstOfNames(lists.abonents, names); });
        cascadeToCompany(e, lists);
        return std::nullopt;
    }
    std::optional<Recs> recs = split(e.list, lists.of(e.list));
    if (!recs)
        return e.before.empty() ? e.after : e.before;
    const int found = find(*recs, e.before, &e.beforeBytes);
    switch (e.kind) {
    case EditKind::Add:
        if (find(*recs, e.after, &e.record) >= 0)
            return std::nullopt; // saved already
        if (find(*recs, e.after) >= 0)
            return e.after;
        put(*recs, e.position, {e.after, e.record});
        break;
    case EditKind::Change:
        if (found < 0)
            return find(*recs, e.after, &e.record) >= 0 ? std::nullopt : std::optional<std::string>{e.before};
        (*recs)[static_cast<std::size_t>(found)] = {e.after, e.record};
        break;
    case EditKind::Delete:
        if (found < 0)
            return find(*recs, e.before) >= 0 ? std::optional<std::string>{e.before} : std::nullopt;
        recs->erase(recs->begin() + found);
        break;
    case EditKind::Move: {
        if (found < 0)
            return e.before;
        Rec moved = (*recs)[static_cast<std::size_t>(found)];
        recs->erase(recs->begin() + found);
        put(*recs, e.position, std::move(moved));
        break;
    }
    case EditKind::Order:
        *recs = reordered(*recs, *split(e.list, e.record));
        break;
    case EditKind::Whole:
        if (lists.of(e.list) != e.beforeBytes && lists.of(e.list) != e.record) {
            const std::optional<Recs> mine = split(e.list, e.record);
            return mine && !mine->empty() ? mine->front().name : std::string(FileNameOf(e.list));
        }
        lists.of(e.list) = e.record;
        return std::nullopt;
    }
    // The cascades, on the lists as they are now.
    cascadeToGroups(e, lists, [&recs](auto& names) {
        for (const Rec& r : *recs)
            if (const auto it = names.find(r.name); it != names.end() && it->second.empty())
                it->second = r.bytes;
    });
    cascadeToCompany(e, lists);
    lists.of(e.list) = join(*recs);
    return std::nullopt;
}

} // namespace zolbin
