// SPDX-License-Identifier: GPL-3.0-or-later
// libFuzzer entry for one list loader; ZOLBIN_FUZZ_LIST names the list (Abonent, Group or Company).
// A damaged file ending in "Read beyond end of file" is an expected outcome; a crash, a sanitizer report,
// a runaway allocation or any other exception is a fault.

#include "tests/fuzz/ListLoaderHarness.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    zolbin::fuzz::loadListBytes(zolbin::fuzz::ListKind::ZOLBIN_FUZZ_LIST,
                                std::string_view(reinterpret_cast<const char*>(data), size));
    return 0;
}
