// SPDX-License-Identifier: GPL-3.0-or-later
#include "dispatch/ReplyReader.h"

#include "platform/Deadline.h"

#include <array>
#include <chrono>

namespace zolbin {

bool ReplyComplete(std::string_view data)
{
    if (data.size() < 2 || data.substr(data.size() - 2) != "\r\n")
        return false;
    const std::string_view body = data.substr(0, data.size() - 2);
    const std::size_t lastBreak = body.rfind("\r\n");
    const std::string_view last = lastBreak == std::string_view::npos ? body : body.substr(lastBreak + 2);
    const bool continuation = last.size() >= 4 && last[0] >= '0' && last[0] <= '9' && last[1] >= '0' &&
                              last[1] <= '9' && last[2] >= '0' && last[2] <= '9' && last[3] == '-';
    return !continuation;
}

int ReadReply(int socket, std::string& reply, int deadlineMs)
{
    net::Link link{socket, nullptr, 0, {}}; // reads only
    return ReadReply(link, reply, deadlineMs);
}

int ReadReply(net::Link& link, std::string& reply, int deadlineMs)
{
    const auto deadline = net::SteadyClock::now() + std::chrono::milliseconds(deadlineMs);
    reply.clear();
    std::array<char, 4096> buffer{};
    for (;;) {
        const int left = net::MsLeft(deadline);
        if (left == 0) {
            link.error = std::make_error_code(std::errc::timed_out);
            return -1;
        }
        const int n = link.Recv(buffer.data(), static_cast<int>(buffer.size()), left);
        if (n < 0)
            return -1;
        if (n == 0)
            break;
        reply.append(buffer.data(), static_cast<std::size_t>(n));
        if (ReplyComplete(reply))
            break;
        if (reply.size() > MaxReplySize) {
            link.error = std::make_error_code(std::errc::message_size);
            return -1;
        }
    }
    return static_cast<int>(reply.size());
}

} // namespace zolbin
