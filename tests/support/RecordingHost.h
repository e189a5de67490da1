// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A SendHost for tests: records every status text, pause and beep; the journal is the real "Zolbin.log"
// of the (temporary) data folder it is given; the editor's lines are set by the test.

#include "dispatch/SendHost.h"
#include "platform/Codepage.h"
#include "platform/DataFolder.h"

#include <numeric>

namespace zolbin::test {

class RecordingHost final : public SendHost
{
public:
    explicit RecordingHost(const DataFolder& dataFolder) : folder(dataFolder), journal(dataFolder)
    {
        settings.Company = HomeName();
    }

    void SetStatusText(const std::string& text) override { statuses.push_back(text); }
    void Pause(unsigned ms) override { pauses.push_back(ms); }
    void Beep() override { ++beeps; }
    // Messages and questions go to the prompt responder, as the window's do, for the recorder to see.
    void ShowMessage(const Text& text, Notice notice) override;
    bool AskToContinue(const Text& question) override;
    const TSettings& Settings() const override { return settings; }
    bool SignatureBlocked() const override { return signatureBlocked; }
    const TJournal& Journal() const override { return journal; }
    DataFolder Folder() const override { return folder; }
    std::vector<std::string> EditorLines() const override { return lines; }
    std::string EditorText() const override
    {
        std::string text;
        for (std::size_t i = 0; i < lines.size(); ++i)
            text += (i > 0 ? "\r\n" : "") + lines[i];
        return text;
    }
    void SendCompleted(const TSendParams&) override { ++completed; }
    std::string SmtpPassword() const override { return smtpPassword; }
    std::string SimPin() const override { return simPin; }
    void SimPinRefused() override { simPin.clear(); }

    unsigned pausedMs() const { return std::accumulate(pauses.begin(), pauses.end(), 0u); }
    // The status texts in UTF-8, for readable assertions.
    std::vector<std::string> statusesUtf8() const
    {
        std::vector<std::string> out;
        for (const std::string& s : statuses)
            out.push_back(utf8(s));
        return out;
    }

    static std::string HomeName();

    TSettings settings;
    bool signatureBlocked = false;
    std::string smtpPassword;
    std::string simPin;
    DataFolder folder;
    TJournal journal;
    std::vector<std::string> lines; // cp1251
    std::vector<std::string> statuses;
    std::vector<unsigned> pauses;
    int beeps = 0;
    int completed = 0;
};

// The lines of the folder's journal in UTF-8 (CR LF split), for assertions.
std::vector<std::string> JournalLines(const DataFolder& folder);

} // namespace zolbin::test
