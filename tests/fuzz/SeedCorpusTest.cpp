// SPDX-License-Identifier: GPL-3.0-or-later
// Runs every list loader over every seed file of the fuzz corpus, so that the corpus is exercised in
// every test run, also in builds without the fuzz targets. A seed named "<outcome>-<records>-..." must
// give that outcome with its own loader ("valid": loaded; "eof": Read beyond end of file) and leave that
// many records; fed to the other loaders it must load or fail as a damaged file, never crash.

#include "platform/IoError.h"
#include "tests/fuzz/ListLoaderHarness.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <sstream>

using namespace zolbin;
using namespace zolbin::fuzz;
namespace fs = std::filesystem;

namespace {

constexpr ListKind AllLists[] = {ListKind::Abonent, ListKind::Group, ListKind::Company};

std::string readFile(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

std::vector<fs::path> seedsOf(ListKind kind)
{
    std::vector<fs::path> seeds;
    for (const auto& entry : fs::directory_iterator(fs::path(ZOLBIN_FUZZ_CORPUS_DIR) / listName(kind)))
        seeds.push_back(entry.path());
    std::sort(seeds.begin(), seeds.end());
    return seeds;
}

} // namespace

TEST(SeedCorpus, EveryLoaderGivesTheOutcomeItsSeedsAreNamedFor)
{
    for (ListKind kind : AllLists) {
        const auto seeds = seedsOf(kind);
        EXPECT_GE(seeds.size(), 3U) << listName(kind);
        for (const fs::path& seed : seeds) {
            SCOPED_TRACE(seed.string());
            const std::string name = seed.filename().string();
            const auto dash = name.find('-');
            ASSERT_NE(dash, std::string::npos);
            const std::string outcome = name.substr(0, dash);
            const int records = std::stoi(name.substr(dash + 1));

            const LoadOutcome got = loadListBytes(kind, readFile(seed));
            EXPECT_EQ(got.count, records);
            if (outcome == "valid") {
                EXPECT_TRUE(got.loaded);
                EXPECT_EQ(got.ioCode, 0);
            } else {
                ASSERT_EQ(outcome, "eof");
                EXPECT_EQ(got.ioCode, IoCode::ReadBeyondEnd);
            }
        }
    }
}

TEST(SeedCorpus, EveryLoaderSurvivesTheSeedsOfTheOthers)
{
    for (ListKind seedKind : AllLists)
        for (const fs::path& seed : seedsOf(seedKind))
            for (ListKind kind : AllLists) {
                SCOPED_TRACE(std::string(listName(kind)) + " <- " + seed.string());
                LoadOutcome got;
                EXPECT_NO_THROW(got = loadListBytes(kind, readFile(seed)));
                EXPECT_TRUE(got.ioCode == 0 || got.ioCode == IoCode::ReadBeyondEnd) << got.ioCode;
            }
}
