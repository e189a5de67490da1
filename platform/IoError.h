// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The program's I/O error codes and texts, and their mapping from the system's errno values.

#include "platform/Text.h"

namespace zolbin {

namespace IoCode {
inline constexpr int FileNotFound = 2;
inline constexpr int PathNotFound = 3; // shown as "Неверное иимя файла"
inline constexpr int TooManyOpenFiles = 4;
inline constexpr int AccessDenied = 5;
inline constexpr int ReadBeyondEnd = 100;
inline constexpr int DiskFull = 101;
inline constexpr int InvalidNumericInput = 106;
} // namespace IoCode

// errno -> I/O code. Values without a counterpart of their own become 1000 + errno, so they never
// collide with the codes above and still name the system error.
int ioCodeFromErrno(int err);

// The text told for an I/O code ("Ошибка ввода/вывода %1" for unknown codes).
Text ioErrorText(int code);

} // namespace zolbin
