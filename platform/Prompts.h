// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Modal message boxes as the windows show them (the logic never shows one: it returns a result). The windows
// install a responder that shows real boxes; tests install one that records every box and answers it. Texts
// are the interface's (QString, through tr()); the overloads taking std::string take the program's cp1251
// texts (a stored name, a failure's text) as they are.

#include <QString>
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
    QString caption;
    QString text;
};

class Prompts final
{
public:
    // Answers a request: true means "&Да" (for a plain message the result is ignored).
    using Responder = std::function<bool(const PromptRequest&)>;

    // A plain message box titled with the program's name ("Zolbin Sender").
    static void message(const QString& text, PromptIcon icon = PromptIcon::None);
    static void message(const std::string& cp1251Text, PromptIcon icon = PromptIcon::None);

    // A Yes/No box with the buttons "&Да" and "&Нет"; true on "&Да".
    static bool ask(const QString& caption, const QString& text, PromptIcon icon = PromptIcon::Question);
    static bool ask(const std::string& cp1251Caption, const std::string& cp1251Text,
                    PromptIcon icon = PromptIcon::Question);

    // Installs the responder; returns the one it replaces. Without any, messages go to stderr and
    // questions are answered "&Нет".
    static Responder setResponder(Responder responder);
};

} // namespace zolbin
