// SPDX-License-Identifier: GPL-3.0-or-later
// Runs the reply reader over every seed of the reply fuzz corpus, so that the corpus is exercised in every
// test run, also in builds without the fuzz targets. A seed named "<result>-..." must make ReadReply read
// that many bytes, and every run must keep the reader's rules (ReplyReaderHarness.h).

#include "dispatch/ReplyReader.h"
#include "tests/fuzz/ReplyReaderHarness.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <sstream>

using namespace zolbin;
using namespace zolbin::fuzz;
namespace fs = std::filesystem;

namespace {

std::string readFile(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

} // namespace

TEST(ReplyCorpus, EverySeedReadsTheReplyItIsNamedForAndKeepsTheRules)
{
    std::vector<fs::path> seeds;
    for (const auto& entry : fs::directory_iterator(fs::path(ZOLBIN_FUZZ_CORPUS_DIR) / "reply"))
        seeds.push_back(entry.path());
    std::sort(seeds.begin(), seeds.end());
    EXPECT_GE(seeds.size(), 5U);
    for (const fs::path& seed : seeds) {
        SCOPED_TRACE(seed.string());
        const ReplyRun run = runReplyReader(readFile(seed));
        EXPECT_EQ(checkReplyRun(run), "");
        EXPECT_EQ(run.result, std::stoi(seed.filename().string()));
    }
}

TEST(ReplyCorpus, RulesCatchAReaderThatStopsEarlyOrReadsPastAReply)
{
    // The rules themselves, on runs a faulty reader would produce.
    ReplyRun run;
    run.pieces = {"250-a\r\n", "250 b\r\n"};
    run.reply = "250-a\r\n";
    run.result = 7;
    EXPECT_EQ(checkReplyRun(run), "reading stopped in the middle of a reply");

    run.pieces = {"250 a\r\n", "354 b\r\n"};
    run.reply = "250 a\r\n354 b\r\n";
    run.result = 14;
    EXPECT_EQ(checkReplyRun(run), "reading went past a complete reply");

    run.reply = "250 a\r\n";
    run.result = 6;
    EXPECT_EQ(checkReplyRun(run), "the result is not the length of the reply");
}
