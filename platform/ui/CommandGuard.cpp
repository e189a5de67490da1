#include "platform/ui/CommandGuard.h"

#include "platform/Codepage.h"
#include "platform/Errors.h"
#include "platform/Prompts.h"

#include <exception>

namespace zolbin {

void runCommand(const std::function<void()>& command)
{
    try {
        command();
    } catch (const EZolbinError& e) {
        Prompts::message(e.text(), PromptIcon::Stop);
    } catch (const std::exception& e) {
        Prompts::message(e.what(), PromptIcon::Stop);
    } catch (...) {
        Prompts::message(cp("Непредвиденная ошибка"), PromptIcon::Stop);
    }
}

void showFailure(const Failure& failure)
{
    Prompts::message(failure.text, PromptIcon::Stop);
}

} // namespace zolbin
