// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A directory a room shares is saved as edits of single records, each re-applied to the latest version of
// the lists, so that what another desk saved meanwhile is kept. An edit is a small value: what it does,
// to which list, the record's name and bytes before and after. EditsBetween finds the edits a desk made
// by comparing the list's bytes it loaded with the bytes it would write; ApplyEdit makes the same change
// to the latest lists, with the cascades the windows make (a subscriber deleted leaves its groups, a
// changed or added subscriber is tied to the group members of its name, a company deleted leaves its
// subscribers without one). An edit whose record is no longer what the desk saw is refused: it names the
// record, and nothing of it is applied. Every list comes out as the list files' bytes that the same edit
// writes at a desk of its own.

#include <optional>
#include <string>
#include <vector>

namespace zolbin {

enum class DirectoryList
{
    Abonents,
    Groups,
    Companies
};
inline constexpr DirectoryList DirectoryLists[] = {DirectoryList::Abonents, DirectoryList::Groups,
                                                   DirectoryList::Companies};

// "Abonent.lst", "Group.lst", "Company.lst"; and the key the database keeps them under.
const char* FileNameOf(DirectoryList list);
const char* KeyOf(DirectoryList list);

// The three lists as their files' bytes.
struct DirectoryBytes
{
    std::string abonents, groups, companies;
    std::string& of(DirectoryList list);
    const std::string& of(DirectoryList list) const;
};

enum class EditKind
{
    Add,    // `record` put at `position` (at the end when beyond it)
    Change, // the record `before` (its bytes `beforeBytes`) becomes `record` (a group: its members too)
    Delete, // the record `before` (its bytes `beforeBytes`) leaves the list
    Move,   // the record `before` goes to `position`
    Order,  // the records take the order of `record` (a whole list in the same records: a sort)
    Whole   // anything else: the list becomes `record` only if it still is `beforeBytes`
};

struct DirectoryEdit
{
    EditKind kind = EditKind::Change;
    DirectoryList list = DirectoryList::Abonents;
    std::string before;      // the record's name as the desk saw it (cp1251); empty for Add
    std::string after;       // its name after the edit; empty for Delete
    std::string beforeBytes; // the record's bytes as the desk saw them
    std::string record;      // its bytes after the edit
    int position = -1;       // Add, Move
};

// Whether the bytes are a whole list, not ended inside a record.
bool ListIntact(DirectoryList list, const std::string& bytes);

// The edits that turn the list's bytes `base` into `mine`; none when they are equal.
std::vector<DirectoryEdit> EditsBetween(DirectoryList list, const std::string& base, const std::string& mine);

// Applies the edit and its cascades to the lists. Gives nothing when applied (or when the lists already
// hold its result), or the name of the record another desk changed first (cp1251): the lists are then
// unchanged.
std::optional<std::string> ApplyEdit(const DirectoryEdit& edit, DirectoryBytes& lists);

} // namespace zolbin
