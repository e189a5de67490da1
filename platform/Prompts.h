// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Modal message boxes as the windows show them (the logic never shows one: it returns a result). The windows
// install a responder that shows real boxes; tests install one that records every box and answers it. Texts
// are cp1251.

#include <functional>
#include <string>

namespace zolbin {

enum class PromptIcon
{
    None,
    Information,
    Warning,
    Stop,
    Question
};
enum class PromptKind
{
    Message,
    YesNo
};

struct PromptRequest
{
    PromptKind kind = PromptKind::Message;
    PromptIcon icon = PromptIcon::None;
    std::string caption; // cp1251
    std::string text;    // cp1251
};

class Prompts final
{
public:
    // Answers a request: true means "&Да" (for a plain message the result is ignored).
    using Responder = std::function<bool(const PromptRequest&)>;

    // A plain message box titled with the program's name ("Zolbin Sender").
    static void message(const std::string& text, PromptIcon icon = PromptIcon::None);

    // A Yes/No box with the buttons "&Да" and "&Нет"; true on "&Да".
    static bool ask(const std::string& caption, const std::string& text,
                    PromptIcon icon = PromptIcon::Question);

    // Installs the responder; returns the one it replaces. Without any, messages go to stderr and
    // questions are answered "&Нет".
    static Responder setResponder(Responder responder);
};

} // namespace zolbin
