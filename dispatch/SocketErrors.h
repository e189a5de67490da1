// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The texts of socket errors. The table is keyed on the error numbers the program has always used
// (10004 … 11004); a connection's std::error_code is turned into one of them before its text is looked up.

#include <string>
#include <system_error>

namespace zolbin {

// The number of the table for an error of the socket layer (a system error, a time-out, a failed
// look-up); 0 for no error.
int SocketErrorNumber(std::error_code error);

// The Russian text (cp1251) for an error number of the table; "Неизвестная ошибка." for any other number.
std::string SocketErrorText(int code);
// The same for an error of the socket layer.
std::string SocketErrorText(std::error_code error);

} // namespace zolbin
