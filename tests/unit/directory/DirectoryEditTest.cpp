// SPDX-License-Identifier: GPL-3.0-or-later
// The edit a desk made, found between the list it loaded and the list it saved, where only the records
// between the ends both share are read: its kind, its place in the whole list, and the list it makes.
#include "directory/DirectoryEdit.h"

#include "directory/Records.h"

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
