// SPDX-License-Identifier: GPL-3.0-or-later
// The edit a desk made, found between the list it loaded and the list it saved, where only the records
// between the ends both share are read: its kind, its place in the whole list, and the list it makes.
#include "directory/DirectoryEdit.h"

#include "directory/Records.h"

#include <cstring>
#include <gtest/gtest.h>

using namespace zolbin;

namespace {

std::string subscribers(const std::vector<int>& numbers)
{
    std::string bytes;
    for (const int n : numbers) {
        TAbonent a;
        a.Name = "s" + std::to_string(n);
        a.Number = n;
        bytes += a.encode();
    }
    return bytes;
}

} // namespace

TEST(DirectoryEdit, FoundInTheMiddleOfTheListAtItsPlaceThere)
{
    struct Case
    {
        std::vector<int> saved; // the loaded list is 0..7
        EditKind kind;
        int position; // Add, Move: where; -1 for the others
    };
    for (const Case& c : {Case{{0, 1, 2, 3, 9, 4, 5, 6, 7}, EditKind::Add, 4},
                          Case{{0, 1, 2, 4, 5, 6, 7}, EditKind::Delete, -1},
                          Case{{0, 1, 2, 3, 4, 9, 6, 7}, EditKind::Change, -1},
                          Case{{0, 1, 2, 4, 5, 3, 6, 7}, EditKind::Move, 5},
                          Case{{0, 1, 2, 5, 3, 4, 6, 7}, EditKind::Move, 3}}) {
        const std::string loaded = subscribers({0, 1, 2, 3, 4, 5, 6, 7}), saved = subscribers(c.saved);
        const std::vector<DirectoryEdit> edits = EditsBetween(DirectoryList::Abonents, loaded, saved);
        ASSERT_EQ(edits.size(), 1u);
        EXPECT_EQ(edits[0].kind, c.kind);
        if (c.position >= 0) {
            EXPECT_EQ(edits[0].position, c.position);
        }
        DirectoryBytes lists;
        lists.abonents = loaded;
        EXPECT_EQ(ApplyEdit(edits[0], lists), std::nullopt);
        EXPECT_EQ(lists.abonents, saved) << static_cast<int>(c.kind);
    }
}

namespace {

std::string group(const char* name, const std::vector<std::string>& members)
{
    std::string bytes(25, '\0');
    bytes.replace(0, std::strlen(name), name);
    const auto count = static_cast<std::uint32_t>(members.size());
    for (int i = 0; i < 4; ++i)
        bytes.push_back(static_cast<char>((count >> (8 * i)) & 0xFF));
    for (const std::string& m : members)
        bytes += m;
    return bytes;
}

// Each record with a byte set where a save writes zero: read record by record, as before any edit.
std::string withReservedBytes(std::string list, std::size_t size, std::size_t reserved)
{
    for (std::size_t at = 0; at < list.size(); at += size)
        list[at + reserved] = 'x';
    return list;
}

} // namespace

// An edit is made where the record stands when every record is as a save writes it, and record by record
// otherwise: both give the same lists, cascades included, and the same refusals.
TEST(DirectoryEdit, EditedInPlaceOrRecordByRecordTheListsComeOutTheSame)
{
    const std::string s1 = subscribers({1}), s2 = subscribers({2}), s3 = subscribers({3}),
                      s9 = subscribers({9});
    const std::string s2changed = subscribers({22}).replace(0, 3, std::string("s2\0", 3));
    const std::string s3other = subscribers({33}).replace(0, 3, std::string("s3\0", 3));
    const std::string s1other = subscribers({11}).replace(0, 3, std::string("s1\0", 3));
    const auto edit = [](EditKind kind, const char* before, const char* after, const std::string& beforeBytes,
                         const std::string& record, int position = -1) {
        return DirectoryEdit{kind, DirectoryList::Abonents, before, after, beforeBytes, record, position};
    };
    const std::string original = subscribers({1, 2, 3, 4});
    for (const DirectoryEdit& e : {
             edit(EditKind::Change, "s2", "s2", s2, s2changed), // the group's member follows
             edit(EditKind::Add, "", "s9", "", s9, 1), edit(EditKind::Add, "", "s1", "", s1), // saved already
             edit(EditKind::Add, "", "s3", "", s3other), // the name is taken
             edit(EditKind::Delete, "s3", "", s3, ""),   // leaves its group
             edit(EditKind::Delete, "s7", "", subscribers({7}), ""),
             edit(EditKind::Move, "s1", "s1", s1, s1, 2),
             edit(EditKind::Change, "s1", "s1", s1other, s1other), // another desk changed it first
         }) {
        SCOPED_TRACE(static_cast<int>(e.kind));
        DirectoryBytes inPlace, byRecord;
        inPlace.abonents = original;
        // h's member is older than its subscriber: an edit ties it to the subscriber again.
        inPlace.groups = group("g", {s2, s3}) + group("h", {s1other});
        byRecord.abonents = withReservedBytes(original, TAbonent::RecordSize, 26);
        byRecord.groups = inPlace.groups;
        const std::optional<std::string> refused = ApplyEdit(e, inPlace);
        EXPECT_EQ(refused, ApplyEdit(e, byRecord));
        EXPECT_EQ(inPlace.groups, byRecord.groups);
        if (inPlace.abonents != original) { // applied: the lists were written whole
            EXPECT_EQ(inPlace.abonents, byRecord.abonents);
        }
    }
}

TEST(DirectoryEdit, RecordAsASaveWritesItIsToldByItsReservedBytes)
{
    TAbonent a;
    a.Name = "Name";
    a.Number = 7;
    TProvider p;
    p.Name = "Company";
    p.SNPPPort = 444;
    const std::string abonent = a.encode(), provider = p.encode();
    for (std::size_t at = 0; at < abonent.size(); ++at) {
        std::string bytes = abonent;
        bytes[at] = '\x5A';
        EXPECT_EQ(TAbonent::canonical(bytes), TAbonent::decode(bytes).encode() == bytes) << at;
    }
    for (std::size_t at = 0; at < provider.size(); ++at) {
        std::string bytes = provider;
        bytes[at] = '\x5A';
        EXPECT_EQ(TProvider::canonical(bytes), TProvider::decode(bytes).encode() == bytes) << at;
    }
}
