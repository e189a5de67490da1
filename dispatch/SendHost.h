// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What the connection, the dialogues and the send command need of the host they work for: the status
// text, the pauses, the beep, telling and asking the operator, the settings, the signature toggle, the
// journal and the editor's lines. A send job implements it on its worker thread for the main window
// (dispatch/SendJob); tests implement it with a recorder; the command-line sender without any window.
// Every call comes from the thread that runs the command.

#include "directory/SendParams.h"
#include "directory/Settings.h"
#include "dispatch/Deadlines.h"
#include "dispatch/RetryPolicy.h"
#include "platform/Text.h"
#include "records/Journal.h"

#include <cstdint>
#include <string>
#include <system_error>
#include <vector>

namespace zolbin {

class SendHost
{
public:
    virtual ~SendHost() = default;

    // Shows the text in the status bar and repaints it at once. These are the journal's lines (cp1251),
    // shown as they are written, in Russian in every language.
    virtual void SetStatusText(const std::string& text) = 0;
    // A status text that is no journal line (when the outbox tries a page again), in the interface's
    // language.
    virtual void SetStatusNote(const Text& text) { SetStatusText(text.russian()); }
    // Waits so that the operator can read the text just shown; the windows are never held by it.
    virtual void Pause(unsigned ms) = 0;
    // The wait between two connection attempts. A host without a display may skip every other pause,
    // but this one gives the server time and is always kept.
    virtual void PauseBetweenAttempts(unsigned ms) { Pause(ms); }
    // The default system beep before an error report.
    virtual void Beep() = 0;

    // How grave a message to the operator is (the window shows the matching icon).
    enum class Notice
    {
        Plain,
        Information,
        Stop
    };
    // Tells the operator something and waits until it is taken note of; the host words the text.
    virtual void ShowMessage(const Text& text, Notice notice) = 0;
    // The one question of a group send: a member failed, go on with the others? True goes on.
    virtual bool AskToContinue(const Text& question) = 0;

    virtual const TSettings& Settings() const = 0;
    // True while the signature-block toggle is down.
    virtual bool SignatureBlocked() const = 0;
    virtual const TJournal& Journal() const = 0;
    // The data folder the archives are written into and the code tables are looked up in.
    virtual DataFolder Folder() const = 0;
    // The message editor's lines as displayed (word wrap counts; a final empty line is not counted).
    virtual std::vector<std::string> EditorLines() const = 0;
    // The editor's whole text, its lines joined by line breaks.
    virtual std::string EditorText() const = 0;

    // The window's part of the clean-up after a complete send: the service summary and Label2 emptied,
    // the editor emptied when "Clear" is 1, the service functions disabled when nothing is ticked.
    virtual void SendCompleted(const TSendParams& params) = 0;

    // A group send reaches its member `number` of `count` (from 1), named `name` (cp1251).
    virtual void MemberStarted(int number, int count, const std::string& name)
    {
        (void)number;
        (void)count;
        (void)name;
    }
    // The command is over: the last text stays 2000 ms, then the status bar is cleared. A host that
    // keeps its own time for that (the window) does so without holding the command.
    virtual void SendEnded()
    {
        Pause(2000);
        SetStatusText({});
    }

    // The SMTP AUTH password (cp1251 bytes) for the login "SMTPUser"; empty when there is none. It is
    // never stored in the settings file nor written to the journal.
    virtual std::string SmtpPassword() const { return {}; }
    // The PIN of the GSM modem's SIM (digits); empty when there is none. Kept like the SMTP password.
    virtual std::string SimPin() const { return {}; }
    // The SIM refused that PIN: it must not be given again, by this run or a later one.
    virtual void SimPinRefused() {}

    // The deadlines of the send's waits.
    SendDeadlines Deadlines;
    // The local end of the last connection (host order).
    std::uint32_t LocalAddr = 0;
    // Why the last failure reported here happened: a passing reason (worth another attempt later) or a
    // refusal for good. Each report of a failure sets it; the send command reads it for its recipient.
    FailureKind LastFailure = FailureKind::Final;
    // The text the last failure was reported with (cp1251), for the outbox's "last reply".
    std::string LastFailureText;
};

// Shows the text, pauses 100 ms and appends it to the journal as one line.
void ReportStatus(SendHost& host, const std::string& text);

// An error report: the beep, then ReportStatus with "Ошибка: " + the text. A failure of our own or of
// the peer's configuration is final unless the caller says it passes.
void ReportError(SendHost& host, const std::string& text, FailureKind kind = FailureKind::Final);
// ReportError with the socket error's text: passing (no connection, a time-out, a reset), except for a
// line we refused to send.
void ReportSocketError(SendHost& host, std::error_code error);

} // namespace zolbin
