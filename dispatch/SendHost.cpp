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

void ReportError(SendHost& host, const std::string& text, FailureKind kind)
{
    host.LastFailure = kind;
    host.LastFailureText = cp("Ошибка: ") + text;
    host.Beep();
    ReportStatus(host, host.LastFailureText);
}

void ReportSocketError(SendHost& host, std::error_code error)
{
    const bool ours = error == std::errc::invalid_argument || error == std::errc::message_size;
    ReportError(host, SocketErrorText(error), ours ? FailureKind::Final : FailureKind::Passing);
}

} // namespace zolbin
