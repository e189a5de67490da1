// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A file that holds secrets (a password, a PIN, the SNPP users): read only when it is a regular file on
// which its group and others have no permission at all (mode 600 or 400), so that a secret is never taken
// from where others could read or change it.

#include "platform/Result.h"

#include <string>

namespace zolbin {

enum class OwnerOnlyRead
{
    Whole,    // every byte of the file
    FirstLine // the bytes before its first line end ("\n" or "\r\n"); reading stops there
};

// The file's text. `kind` names the file at the head of each failure, "<kind> «<path>» ...":
// "не читается: <the system's reason>", "- не обычный файл", "доступен не только владельцу: нужны права
// 600 или 400 (chmod 600)".
Result<std::string> ReadOwnerOnlyFile(const std::string& path, const Text& kind,
                                      OwnerOnlyRead read = OwnerOnlyRead::Whole);

} // namespace zolbin
