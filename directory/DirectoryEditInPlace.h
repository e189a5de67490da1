// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// An edit of one record of the subscribers' or the companies' list made on the list's bytes, without
// reading every record into a record of its own: for a list whose records are all as a save writes
// them it gives the very bytes ApplyEdit's reading and writing of every record gives, at a small part of
// the cost in a list of 100,000 records. The cascades stay with ApplyEdit.

#include "directory/DirectoryEdit.h"

#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>

namespace zolbin {

struct InPlaceEdit
{
    std::optional<std::string> refused; // the record another desk changed first
    bool unchanged = false;             // the list holds the edit's result already
};

// Makes the edit in the list's bytes (left as they were when refused or unchanged). Nothing, and the
// bytes untouched, when the edit is not one this can make (another list or kind, a record not as a save
// writes it, a damaged list): ApplyEdit then reads every record.
std::optional<InPlaceEdit> EditInPlace(const DirectoryEdit& edit, std::string& list);

// A record's name (its first field, up to the first NUL), for subscribers and companies alike.
std::string_view RecordName(std::string_view record);
// Names looked up by their text as well as by a string.
struct NameHash
{
    using is_transparent = void;
    std::size_t operator()(std::string_view name) const { return std::hash<std::string_view>()(name); }
};
using NamedRecords = std::unordered_map<std::string, std::string_view, NameHash, std::equal_to<>>;

// For each name asked (the keys), the first subscriber of that name in the list's bytes, if any.
void FindFirstOfNames(std::string_view abonents, NamedRecords& names);

} // namespace zolbin
