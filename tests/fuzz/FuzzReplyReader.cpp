// SPDX-License-Identifier: GPL-3.0-or-later
// libFuzzer entry for the reply reader: ReplyComplete on the raw bytes, and ReadReply over a socket pair
// fed with the bytes in pieces (layout in ReplyReaderHarness.h). A broken rule, a crash or a sanitizer
// report is a fault.

#include "dispatch/ReplyReader.h"
#include "tests/fuzz/ReplyReaderHarness.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    if (zolbin::ReplyComplete(bytes) && (size < 2 || bytes.substr(size - 2) != "\r\n")) {
        std::fprintf(stderr, "ReplyComplete accepted data that does not end with CR LF\n");
        std::abort();
    }
    const std::string broken = zolbin::fuzz::checkReplyRun(zolbin::fuzz::runReplyReader(bytes));
    if (!broken.empty()) {
        std::fprintf(stderr, "ReadReply: %s\n", broken.c_str());
        std::abort();
    }
    return 0;
}
