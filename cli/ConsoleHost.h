#pragma once
// The send command's host without any window: status texts become lines on standard error, message
// boxes too, and the one question of a group send is answered by the command line. The display pauses
// are not waited; the pause between two connection attempts is.

#include "dispatch/SendHost.h"
#include "platform/Prompts.h"
#include "records/Session.h"

#include <ostream>

namespace zolbin {

class ConsoleHost final : public SendHost
{
public:
    // The session (its settings and journal) and the message lines (cp1251) stay owned by the caller.
    ConsoleHost(const Session& session, const std::vector<std::string>& lines, const std::string& text,
                bool signatureBlocked, bool quiet, std::ostream& err);

    void SetStatusText(const std::string& text) override;
    void Pause(unsigned ms) override;
    void PauseBetweenAttempts(unsigned ms) override;
    void Beep() override {}
    const TSettings& Settings() const override { return session_.settings; }
    bool SignatureBlocked() const override { return signatureBlocked_; }
    const TJournal& Journal() const override { return session_.journal; }
    std::vector<std::string> EditorLines() const override { return lines_; }
    std::string EditorText() const override { return text_; }
    void SendCompleted(const TSendParams&) override {}

private:
    const Session& session_;
    const std::vector<std::string>& lines_;
    const std::string& text_;
    bool signatureBlocked_;
    bool quiet_;
    std::ostream& err_;
};

// While it lives, every message box goes to standard error as "zolbin-send: text" and the question of
// a group send ("continue for the others?") is answered "yes" unless stopOnError; the answer is printed
// after it. Restores the previous responder when destroyed.
class ConsolePrompts final
{
public:
    ConsolePrompts(bool stopOnError, std::ostream& err);
    ~ConsolePrompts();
    ConsolePrompts(const ConsolePrompts&) = delete;
    ConsolePrompts& operator=(const ConsolePrompts&) = delete;

    // Group members given up after a failure (answered "continue").
    int skipped() const { return skipped_; }

private:
    bool answer(const PromptRequest& request);

    bool stopOnError_;
    std::ostream& err_;
    int skipped_ = 0;
    Prompts::Responder previous_;
};

} // namespace zolbin
