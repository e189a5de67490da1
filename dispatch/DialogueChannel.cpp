// SPDX-License-Identifier: GPL-3.0-or-later
#include "dispatch/DialogueChannel.h"

#include "directory/TextChecks.h"
#include "dispatch/ReplyReader.h"
#include "dispatch/SendHost.h"
#include "platform/Codepage.h"

namespace zolbin {

std::string WithoutLastTwo(const std::string& text)
{
    return text.size() >= 2 ? text.substr(0, text.size() - 2) : std::string();
}

void ReportNegativeReply(SendHost& host, const std::string& reply, const Text& unreachableMessage)
{
    host.LastFailure = KindOfReply(reply);
    host.Beep();
    const std::string status = cp("Ошибка: ") + VisibleLines(reply);
    host.LastFailureText = status;
    host.SetStatusText(status);
    if (!unreachableMessage.empty())
        host.ShowMessage(unreachableMessage, SendHost::Notice::Information);
    host.Pause(100);
    host.Journal().Append(WithoutLastTwo(status));
}

DialogueChannel::DialogueChannel(SendHost& host, int socket, net::TlsSession* tls)
    : host_(host), link_{socket, tls, host.Deadlines.net.sendMs, {}}
{
}

const net::Deadlines& DialogueChannel::Deadlines() const
{
    return host_.Deadlines.net;
}

void DialogueChannel::reportSocketError(std::error_code error)
{
    ReportSocketError(host_, error);
    if (!accepted_)
        host_.Journal().AppendEmptyLine();
}

void DialogueChannel::reportNoReply(std::error_code error)
{
    if (error == std::errc::message_size) // the peer's reply, not a line of ours
        ReportFailure(cp("Ответ сервера слишком длинный"));
    else
        reportSocketError(error);
    if (finalStepSent_)
        host_.LastFailure = FailureKind::Unknown;
}

int DialogueChannel::SendLine(const std::string& line, const std::string& shownText)
{
    if (!accepted_ && host_.Journal().Failure() != 0)
        return -1; // nothing more goes out unjournaled: the send command stops on the journal's failure
    if (line.find_first_of(std::string("\r\n\0", 3)) != std::string::npos) {
        reportSocketError(std::make_error_code(std::errc::invalid_argument));
        return -1;
    }
    if (line.size() > MaxLineLength) {
        reportSocketError(std::make_error_code(std::errc::message_size));
        return -1;
    }
    const std::string wire = line + "\r\n";
    const int sent = link_.Send(wire.data(), static_cast<int>(wire.size()));
    const std::error_code error = link_.error;
    if (!shownText.empty()) {
        // Stored values (a server name, an address) may hold control characters; they are shown escaped.
        const std::string shown = VisibleControls(shownText);
        host_.SetStatusText(shown);
        host_.Pause(100);
        host_.Journal().Append(shown);
    }
    if (sent < 0) {
        reportSocketError(error);
        return -1;
    }
    return sent;
}

void DialogueChannel::ReportFailure(const std::string& text)
{
    ReportError(host_, text);
    if (!accepted_)
        host_.Journal().AppendEmptyLine();
}

void DialogueChannel::ReportTlsFailure(const Failure& failure, std::error_code socketError)
{
    if (failure.text.empty())
        reportSocketError(socketError);
    else
        ReportFailure(failure.russian());
}

int DialogueChannel::ReadReply(const Text& unreachableMessage, int deadlineMs)
{
    std::string reply;
    return ReadReply(unreachableMessage, deadlineMs, reply);
}

int DialogueChannel::ReadReply(const Text& unreachableMessage, int deadlineMs, std::string& reply)
{
    return ReadReply(unreachableMessage, deadlineMs, reply, {});
}

int DialogueChannel::ReadReplyOf(std::string_view required, int deadlineMs)
{
    std::string reply;
    return ReadReply({}, deadlineMs, reply, required);
}

int DialogueChannel::ReadReply(const Text& unreachableMessage, int deadlineMs, std::string& reply,
                               std::string_view required)
{
    const int n = zolbin::ReadReply(link_, reply, deadlineMs);
    if (n <= 0) {
        reportNoReply(n < 0 ? link_.error : std::make_error_code(std::errc::connection_reset));
        return -1;
    }
    const char first = reply[0];
    const bool positive = first >= '0' && first <= '9' && first != '4' && first != '5' &&
                          reply.compare(0, required.size(), required) == 0;
    if (!positive) {
        ReportNegativeReply(host_, reply, unreachableMessage);
        return -1;
    }
    const std::string status = cp("Ответ: ") + VisibleLines(reply);
    host_.SetStatusText(status);
    host_.Pause(100);
    host_.Journal().Append(WithoutLastTwo(status));
    return 0;
}

} // namespace zolbin
