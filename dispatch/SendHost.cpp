// SPDX-License-Identifier: GPL-3.0-or-later
#include "dispatch/SendHost.h"

#include "dispatch/SocketErrors.h"
#include "platform/Codepage.h"

namespace zolbin {

void ReportStatus(SendHost& host, const std::string& text)
{
    host.SetStatusText(text);
    host.Pause(100);
    host.Journal().Append(text);
}

void ReportError(SendHost& host, const std::string& text)
{
    host.Beep();
    ReportStatus(host, cp("Ошибка: ") + text);
}

void ReportSocketError(SendHost& host, int code)
{
    ReportError(host, SocketErrorText(code));
}

} // namespace zolbin
