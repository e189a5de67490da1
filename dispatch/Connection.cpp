// SPDX-License-Identifier: GPL-3.0-or-later
#include "dispatch/Connection.h"

#include "directory/TextChecks.h"
#include "dispatch/DialogueChannel.h"
#include "dispatch/ReplyReader.h"
#include "dispatch/SendHost.h"
#include "platform/Codepage.h"

namespace zolbin {

namespace {

constexpr int Attempts = 3;

} // namespace

void ReportTlsFailure(SendHost& host, const Failure& failure, std::error_code socketError)
{
    if (failure.text.empty())
        ReportSocketError(host, socketError);
    else
        ReportError(host, failure.russian());
}

int ConnectToServer(SendHost& host, net::Sockets& sockets, const std::string& server, std::int32_t port,
                    net::TlsSession* tls, const std::string& caFile)
{
    const net::Deadlines& deadlines = host.Deadlines.net;
    ReportStatus(host, cp("Соединение с сервером..."));
    for (int attempt = 1; attempt <= Attempts; ++attempt) {
        const bool last = attempt == Attempts;
        if (attempt > 1)
            host.PauseBetweenAttempts(2000);
        ReportStatus(host, cp("Попытка ") + std::to_string(attempt) + "...");

        std::error_code error;
        std::uint32_t address = net::InetAddr(server);
        if (address == net::InaddrNone && !net::GetHostByName(server, address, deadlines.lookupMs, error)) {
            ReportSocketError(host, error);
            if (last)
                host.Journal().AppendEmptyLine();
            continue;
        }

        const int s = sockets.Socket(error);
        if (s < 0) {
            ReportSocketError(host, error);
            if (last)
                host.Journal().AppendEmptyLine();
            continue;
        }

        if (!net::Connect(s, address, static_cast<std::uint16_t>(static_cast<std::uint32_t>(port) & 0xFFFFu),
                          deadlines.connectMs, error)) {
            ReportSocketError(host, error);
            continue;
        }

        std::uint16_t localPort = 0;
        if (!net::GetSockName(s, host.LocalAddr, localPort))
            host.LocalAddr = 0;

        if (tls != nullptr) {
            if (const Status handshake = tls->Handshake(s, server, caFile, deadlines.connectMs); !handshake) {
                ReportTlsFailure(host, handshake.failure(), tls->Error());
                return -1;
            }
        }

        std::string greeting;
        net::Link link{s, tls, deadlines.sendMs, {}};
        const int n = ReadReply(link, greeting, deadlines.replyMs);
        if (n < 0) {
            // Silence until the deadline (or a broken connection): another attempt would only wait again.
            if (link.error == std::errc::message_size)
                ReportError(host, cp("Ответ сервера слишком длинный"));
            else
                ReportSocketError(host, link.error);
            return -1;
        }
        if (n > 0 && (greeting[0] == '4' || greeting[0] == '5')) {
            ReportNegativeReply(host, greeting, {});
            return -1;
        }
        // A server that closed without a word gives an empty greeting: the dialogue then fails on its
        // first exchange.
        const std::string shown = VisibleLines(greeting);
        host.SetStatusText(shown);
        host.Pause(250);
        host.Journal().Append(WithoutLastTwo(shown));
        return s;
    }
    return -1;
}

} // namespace zolbin
