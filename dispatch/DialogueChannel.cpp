#include "dispatch/DialogueChannel.h"

#include "dispatch/ReplyReader.h"
#include "dispatch/SendHost.h"
#include "platform/Codepage.h"
#include "platform/Net.h"
#include "platform/Prompts.h"

namespace zolbin {

std::string WithoutLastTwo(const std::string& text)
{
    return text.size() >= 2 ? text.substr(0, text.size() - 2) : std::string();
}

void DialogueChannel::reportSocketError(int code)
{
    ReportSocketError(host_, code);
    host_.Journal().WriteEmptyLine();
}

int DialogueChannel::SendLine(const std::string& line, const std::string& shownText)
{
    if (line.find_first_of(std::string("\r\n\0", 3)) != std::string::npos) {
        reportSocketError(net::Wsa::InvalidArgument);
        return -1;
    }
    if (line.size() > MaxLineLength) {
        reportSocketError(net::Wsa::MessageTooLong);
        return -1;
    }
    const std::string wire = line + "\r\n";
    const int sent = net::Send(socket_, wire.data(), static_cast<int>(wire.size()));
    const int error = net::Winsock::LastError();
    if (!shownText.empty()) {
        host_.SetStatusText(shownText);
        host_.Pause(100);
        host_.Journal().WriteLine(shownText);
    }
    if (sent < 0) {
        reportSocketError(error);
        return -1;
    }
    return sent;
}

int DialogueChannel::ReadReply(const std::string& unreachableMessage, int deadlineMs)
{
    std::string reply;
    const int n = zolbin::ReadReply(socket_, reply, deadlineMs);
    if (n < 0) {
        reportSocketError(net::Winsock::LastError());
        return -1;
    }
    if (n == 0) {
        reportSocketError(net::Wsa::ConnectionReset);
        return -1;
    }
    const char first = reply[0];
    const bool positive = first >= '0' && first <= '9' && first != '4' && first != '5';
    if (!positive) {
        host_.Beep();
        const std::string status = cp("Ошибка: ") + reply;
        host_.SetStatusText(status);
        if (!unreachableMessage.empty())
            Prompts::message(unreachableMessage, PromptIcon::Information);
        host_.Pause(100);
        host_.Journal().WriteLine(WithoutLastTwo(status));
        return -1;
    }
    const std::string status = cp("Ответ: ") + reply;
    host_.SetStatusText(status);
    host_.Pause(100);
    host_.Journal().WriteLine(WithoutLastTwo(status));
    return 0;
}

} // namespace zolbin
