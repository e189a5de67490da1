// SPDX-License-Identifier: GPL-3.0-or-later
#include "tests/support/PromptRecorder.h"

#include "platform/Codepage.h"

namespace zolbin::test {

PromptRecorder::PromptRecorder()
{
    previous_ = Prompts::setResponder([this](const PromptRequest& request) {
        requests_.push_back(request);
        if (request.kind != PromptKind::YesNo || answers_.empty())
            return false;
        const bool yes = answers_.front();
        answers_.pop_front();
        return yes;
    });
}

PromptRecorder::~PromptRecorder()
{
    Prompts::setResponder(previous_);
}

std::vector<std::string> PromptRecorder::texts() const
{
    std::vector<std::string> result;
    for (const PromptRequest& r : requests_)
        result.push_back(r.text.toStdString());
    return result;
}

} // namespace zolbin::test
