// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/Prompts.h"

#include "platform/Codepage.h"

#include <cstdio>
#include <utility>

namespace zolbin {

namespace {

Prompts::Responder& responder()
{
    static Prompts::Responder instance;
    return instance;
}

bool answer(const PromptRequest& request)
{
    // A copy: the responder may replace itself while it answers.
    if (const Prompts::Responder r = responder())
        return r(request);
    const std::string caption = utf8(request.caption);
    const std::string text = utf8(request.text);
    std::fprintf(stderr, "%s: %s\n", caption.c_str(), text.c_str());
    return false;
}

} // namespace

void Prompts::message(const std::string& text, PromptIcon icon)
{
    answer(PromptRequest{PromptKind::Message, icon, "Zolbin Sender", text});
}

bool Prompts::ask(const std::string& caption, const std::string& text, PromptIcon icon)
{
    return answer(PromptRequest{PromptKind::YesNo, icon, caption, text});
}

Prompts::Responder Prompts::setResponder(Responder r)
{
    return std::exchange(responder(), std::move(r));
}

} // namespace zolbin
