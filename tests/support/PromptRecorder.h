// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Records every message box the code under test shows and answers its questions from a queue
// (default "&Нет" when the queue is empty). Restores the previous responder when destroyed.

#include "platform/Prompts.h"

#include <deque>
#include <vector>

namespace zolbin::test {

class PromptRecorder
{
public:
    PromptRecorder();
    ~PromptRecorder();
    PromptRecorder(const PromptRecorder&) = delete;
    PromptRecorder& operator=(const PromptRecorder&) = delete;

    void answer(bool yes) { answers_.push_back(yes); }
    const std::vector<PromptRequest>& requests() const { return requests_; }
    // The texts shown, converted to UTF-8 for readable assertions.
    std::vector<std::string> texts() const;
    void clear() { requests_.clear(); }

private:
    Prompts::Responder previous_;
    std::vector<PromptRequest> requests_;
    std::deque<bool> answers_;
};

} // namespace zolbin::test
