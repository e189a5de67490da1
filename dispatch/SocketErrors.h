// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

namespace zolbin {

// The Russian text (cp1251) for a WinSock error number; "Неизвестная ошибка." for any other number.
std::string SocketErrorText(int code);

} // namespace zolbin
