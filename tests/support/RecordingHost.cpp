// SPDX-License-Identifier: GPL-3.0-or-later
#include "tests/support/RecordingHost.h"

#include "directory/Records.h"
#include "platform/Prompts.h"
#include "records/Journal.h"

#include <fstream>
#include <sstream>

namespace zolbin::test {

void RecordingHost::ShowMessage(const Text& text, Notice notice)
{
    Prompts::message(text.shown(), notice == Notice::Stop          ? PromptIcon::Stop
                                   : notice == Notice::Information ? PromptIcon::Information
                                                                   : PromptIcon::None);
}

bool RecordingHost::AskToContinue(const Text& question)
{
    return Prompts::ask(toQString(cp("Предупреждение")), question.shown(), PromptIcon::Stop);
}

std::string RecordingHost::HomeName()
{
    return HomeProviderName();
}

std::vector<std::string> JournalLines(const DataFolder& folder)
{
    std::ifstream in(folder.path(JournalFileName), std::ios::binary);
    std::stringstream buffer;
    buffer << in.rdbuf();
    const std::string text = buffer.str();
    std::vector<std::string> lines;
    std::size_t from = 0;
    while (from < text.size()) {
        const std::size_t end = text.find("\r\n", from);
        if (end == std::string::npos) {
            lines.push_back(utf8(text.substr(from)));
            break;
        }
        lines.push_back(utf8(text.substr(from, end - from)));
        from = end + 2;
    }
    return lines;
}

} // namespace zolbin::test
