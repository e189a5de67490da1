// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The send command's host without any window: status texts become lines on standard error, messages
// too, and the one question of a group send is answered by the command line (go on, unless
// --stop-on-error). The display pauses are not waited; the pause between two connection attempts is.

#include "dispatch/SendHost.h"
#include "records/Session.h"

#include <functional>
#include <optional>
#include <ostream>

namespace zolbin {

class ConsoleHost final : public SendHost
{
public:
    // The session (its settings and journal) and the message lines (cp1251) stay owned by the caller.
    ConsoleHost(const Session& session, const std::vector<std::string>& lines, const std::string& text,
                bool signatureBlocked, bool quiet, bool stopOnError, std::ostream& err);

    void SetStatusText(const std::string& text) override;
    void Pause(unsigned ms) override;
    void PauseBetweenAttempts(unsigned ms) override;
    void Beep() override {}
    void SetStatusNote(const Text& text) override;
    void ShowMessage(const Text& text, Notice notice) override;
    bool AskToContinue(const Text& question) override;
    const TSettings& Settings() const override { return session_.settings; }
    // The SMTP login's password, asked of the source given (none: empty) once, when first needed.
    std::string SmtpPassword() const override;
    void setSmtpPasswordSource(std::function<std::string()> source) { passwordSource_ = std::move(source); }
    // The SIM's PIN, likewise.
    std::string SimPin() const override
    {
        if (!pin_ && pinSource_)
            pin_ = pinSource_();
        return pin_.value_or(std::string());
    }
    void setSimPinSource(std::function<std::string()> source) { pinSource_ = std::move(source); }
    bool SignatureBlocked() const override { return signatureBlocked_; }
    const TJournal& Journal() const override { return session_.journal; }
    DataFolder Folder() const override { return session_.folder; }
    std::vector<std::string> EditorLines() const override { return lines_; }
    std::string EditorText() const override { return text_; }
    void SendCompleted(const TSendParams&) override {}

    // The recipient (cp1251) each status line is told for, when the lines of several pages follow
    // each other (the outbox's worker).
    void setRecipient(std::string name) { recipient_ = std::move(name); }

    // Group members given up after a failure (answered "continue").
    int skipped() const { return skipped_; }

private:
    const Session& session_;
    const std::vector<std::string>& lines_;
    const std::string& text_;
    bool signatureBlocked_;
    bool quiet_;
    bool stopOnError_;
    std::ostream& err_;
    int skipped_ = 0;
    std::string recipient_;
    std::function<std::string()> passwordSource_;
    mutable std::optional<std::string> password_;
    std::function<std::string()> pinSource_;
    mutable std::optional<std::string> pin_;
};

} // namespace zolbin
