// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/ui/CommandGuard.h"

#include "platform/Codepage.h"
#include "platform/Prompts.h"

#include <QCoreApplication>
#include <exception>

namespace zolbin {

void runCommand(const std::function<void()>& command)
{
    try {
        command();
    } catch (const std::exception& e) {
        Prompts::message(std::string(e.what()), PromptIcon::Stop);
    } catch (...) {
        Prompts::message(QCoreApplication::translate("CommandGuard", "Непредвиденная ошибка"),
                         PromptIcon::Stop);
    }
}

void showFailure(const Failure& failure)
{
    Prompts::message(failure.shown(), PromptIcon::Stop);
}

} // namespace zolbin
