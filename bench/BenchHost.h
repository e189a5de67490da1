// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The send command's host for the send benchmarks: nothing shown, no pause waited, no question asked.
// The journal is the program's "Zolbin.log" in the data folder given, as zolbin-send keeps it. A message or
// a question means that a page did not go as it should: they are counted, for the benchmark to fail.

#include "dispatch/SendHost.h"

#include <string>
#include <vector>

namespace zolbin::bench {

class BenchHost final : public SendHost
{
public:
    BenchHost(const DataFolder& folder, std::string text)
        : folder_(folder), journal_(folder), lines_{text}, text_(std::move(text))
    {
    }

    void SetStatusText(const std::string&) override {}
    void Pause(unsigned) override {}
    void PauseBetweenAttempts(unsigned) override {}
    void Beep() override {}
    void ShowMessage(const Text&, Notice) override { ++troubles_; }
    bool AskToContinue(const Text&) override
    {
        ++troubles_;
        return false;
    }
    const TSettings& Settings() const override { return settings_; }
    bool SignatureBlocked() const override { return false; }
    const TJournal& Journal() const override { return journal_; }
    DataFolder Folder() const override { return folder_; }
    std::vector<std::string> EditorLines() const override { return lines_; }
    std::string EditorText() const override { return text_; }
    void SendCompleted(const TSendParams&) override {}

    // The messages and questions so far.
    int troubles() const { return troubles_; }

private:
    TSettings settings_;
    DataFolder folder_;
    TJournal journal_;
    std::vector<std::string> lines_;
    std::string text_;
    int troubles_ = 0;
};

} // namespace zolbin::bench
