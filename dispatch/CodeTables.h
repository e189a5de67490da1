// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Character set conversion of outgoing text through the table files "1251-koi.cod" and "1251-866.cod".

#include "platform/DataFolder.h"
#include "platform/Result.h"

#include <string>

namespace zolbin {

inline constexpr const char* KoiTableFileName = "1251-koi.cod";
inline constexpr const char* DosTableFileName = "1251-866.cod";

// Every byte from 0x80 up is replaced through the table file (looked up as a data file of the data
// folder, findDataFile), which is opened, read (256 bytes) and closed on every call. A table that cannot be
// opened leaves the text unchanged; a table shorter than 256 bytes (or one that cannot be read) fails with
// its I/O error (100) and leaves the text unchanged.
Status ToKoi8r(const DataFolder& folder, std::string& text);
Status ToCp866(const DataFolder& folder, std::string& text);

// Converts by a company's character set value: "KOI8-R" -> ToKoi8r, "DOS" -> ToCp866, anything else
// (exactly compared) unchanged.
Status ConvertForCharset(const DataFolder& folder, const std::string& charset, std::string& text);

// The name for "Content-Type: text/plain; charset=": "koi8-r", "cp866", "cp1251", or empty.
std::string CharsetHeaderName(const std::string& charset);

} // namespace zolbin
