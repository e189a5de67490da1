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
    std::fprintf(stderr, "%s: %s\n", request.caption.toUtf8().constData(), request.text.toUtf8().constData());
    return false;
}

} // namespace

void Prompts::message(const QString& text, PromptIcon icon)
{
    answer(PromptRequest{PromptKind::Message, icon, QStringLiteral("Zolbin Sender"), text});
}

void Prompts::message(const std::string& cp1251Text, PromptIcon icon)
{
    message(toQString(cp1251Text), icon);
}

bool Prompts::ask(const QString& caption, const QString& text, PromptIcon icon)
{
    return answer(PromptRequest{PromptKind::YesNo, icon, caption, text});
}

bool Prompts::ask(const std::string& cp1251Caption, const std::string& cp1251Text, PromptIcon icon)
{
    return ask(toQString(cp1251Caption), toQString(cp1251Text), icon);
}

Prompts::Responder Prompts::setResponder(Responder r)
{
    return std::exchange(responder(), std::move(r));
}

} // namespace zolbin
