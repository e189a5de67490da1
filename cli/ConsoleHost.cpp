// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/ConsoleHost.h"

#include "cli/TerminalText.h"
#include "directory/TextChecks.h"
#include "platform/Clock.h"
#include "platform/Codepage.h"

#include <QCoreApplication>

namespace zolbin {

ConsoleHost::ConsoleHost(const Session& session, const std::vector<std::string>& lines,
                         const std::string& text, bool signatureBlocked, bool quiet, bool stopOnError,
                         std::ostream& err)
    : session_(session), lines_(lines), text_(text), signatureBlocked_(signatureBlocked), quiet_(quiet),
      stopOnError_(stopOnError), err_(err)
{
}

void ConsoleHost::SetStatusText(const std::string& text)
{
    // The window clears its status bar between steps; a terminal has nothing to clear.
    if (quiet_ || text.empty())
        return;
    if (!recipient_.empty())
        err_ << ToTerminal(VisibleControls(recipient_)) << ": ";
    err_ << ToTerminal(text) << '\n' << std::flush;
}

void ConsoleHost::Pause(unsigned)
{
    // The window pauses so that the operator can read each status text; the terminal keeps every line.
}

void ConsoleHost::PauseBetweenAttempts(unsigned ms)
{
    Clock::current().sleepMs(ms);
}

void ConsoleHost::SetStatusNote(const Text& text)
{
    SetStatusText(toCp1251(text.shown()));
}

void ConsoleHost::ShowMessage(const Text& text, Notice)
{
    err_ << "zolbin-send: " << ToTerminal(toCp1251(text.shown())) << '\n' << std::flush;
}

bool ConsoleHost::AskToContinue(const Text& question)
{
    const bool goOn = !stopOnError_;
    err_ << QCoreApplication::translate("ConsoleHost", "Предупреждение").toStdString() << ": "
         << ToTerminal(toCp1251(question.shown())) << '\n'
         << "zolbin-send: "
         << (goOn ? QCoreApplication::translate(
                        "ConsoleHost", "продолжаю для остальных (--stop-on-error останавливает рассылку)")
                  : QCoreApplication::translate("ConsoleHost", "рассылка остановлена (--stop-on-error)"))
                .toStdString()
         << '\n'
         << std::flush;
    if (goOn)
        ++skipped_;
    return goOn;
}

std::string ConsoleHost::SmtpPassword() const
{
    if (!password_)
        password_ = passwordSource_ ? passwordSource_() : std::string();
    return *password_;
}

} // namespace zolbin
