// SPDX-License-Identifier: GPL-3.0-or-later
// A list cut into chunks at record boundaries: a record added in the middle changes one chunk or two, and
// the new bytes are put together again from the old ones and the changed chunks alone.
#include "records/DirectoryChunks.h"

#include <gtest/gtest.h>
#include <set>

using namespace zolbin;

namespace {

// Record n of a list: distinct bytes of the list's record size (a group: its header and one member).
std::string record(DirectoryList list, int n)
{
    std::string r =
        (list == DirectoryList::Groups ? std::string(25, '\0') + std::string("\1\0\0\0", 4) : "") +
        std::string(list == DirectoryList::Companies ? 292 : 220, '\0');
    const std::string tag = "record " + std::to_string(n);
    r.replace(0, tag.size(), tag);
    return r;
}

} // namespace

TEST(DirectoryChunks, AnAdditionInTheMiddleChangesOneChunkOrTwo)
{
    for (const DirectoryList list : DirectoryLists) {
        std::string before, after;
        for (int n = 0; n < 3000; ++n) {
            before += record(list, n);
            after += (n == 1500 ? record(list, 99999) : "") + record(list, n);
        }
        const std::vector<DirectoryChunk> old = ChunksOf(list, before), now = ChunksOf(list, after);
        ASSERT_GT(old.size(), 4u) << KeyOf(list);
        std::size_t covered = 0;
        for (const DirectoryChunk& c : now)
            covered = c.at == covered ? covered + c.size : std::string::npos;
        EXPECT_EQ(covered, after.size()) << KeyOf(list);
        EXPECT_EQ(JoinHashes(ChunksOf(list, after, before, old)), JoinHashes(now))
            << KeyOf(list) << ": the names kept from the earlier chunks are theirs";
        // A record added at the end or taken off it: the earlier last chunk ended with its list.
        for (const std::string& changed :
             {before + record(list, 77777), before.substr(0, before.size() - record(list, 0).size())})
            EXPECT_EQ(JoinHashes(ChunksOf(list, changed, before, old)), JoinHashes(ChunksOf(list, changed)))
                << KeyOf(list);
        std::set<std::string> held;
        for (const DirectoryChunk& c : old)
            held.insert(c.hash);
        std::map<std::string, std::string> fetched;
        for (const DirectoryChunk& c : now)
            if (held.count(c.hash) == 0)
                fetched[c.hash] = after.substr(c.at, c.size);
        EXPECT_GE(fetched.size(), 1u) << KeyOf(list);
        EXPECT_LE(fetched.size(), 2u) << KeyOf(list);
        std::vector<std::string> names;
        for (const DirectoryChunk& c : now)
            names.push_back(c.hash);
        std::vector<DirectoryChunk> cut;
        EXPECT_EQ(AssembleChunks(names, before, old, fetched, after.size(), cut), after);
        EXPECT_EQ(JoinHashes(cut), JoinHashes(now)) << KeyOf(list);
        EXPECT_EQ(AssembleChunks(names, before, old, {}, after.size(), cut), std::nullopt)
            << "a chunk neither held nor fetched";
        std::map<std::string, std::string> forged = fetched;
        forged.begin()->second[7] ^= 1;
        EXPECT_EQ(AssembleChunks(names, before, old, forged, after.size(), cut), std::nullopt)
            << "a chunk fetched whose bytes are not those its name was made of";
    }
}
