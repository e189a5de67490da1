// SPDX-License-Identifier: GPL-3.0-or-later
#include "tests/fuzz/ReplyReaderHarness.h"

#include "dispatch/ReplyReader.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <stdexcept>
#include <sys/socket.h>
#include <unistd.h>

namespace zolbin::fuzz {

namespace {

// More data than a reply may hold, and well within the socket buffer of the sending end.
constexpr std::size_t MaxData = MaxReplySize + 8 * 1024;
// What the reader takes from the socket at most in one read.
constexpr std::size_t ReadSize = 4096;

std::vector<std::string> cutIntoPieces(std::string_view input)
{
    if (input.empty())
        return {};
    const std::size_t cuts = static_cast<unsigned char>(input[0]) % 16;
    std::size_t at = 1;
    std::vector<std::size_t> lengths;
    for (std::size_t i = 0; i < cuts && at + 2 <= input.size(); ++i, at += 2)
        lengths.push_back(static_cast<unsigned char>(input[at]) |
                          (static_cast<std::size_t>(static_cast<unsigned char>(input[at + 1])) << 8));
    std::string_view data = input.substr(std::min(at, input.size()));
    data = data.substr(0, std::min(data.size(), MaxData));

    std::vector<std::string> pieces;
    for (std::size_t length : lengths) {
        if (length == 0 || data.empty())
            continue;
        const std::size_t n = std::min(length, data.size());
        pieces.emplace_back(data.substr(0, n));
        data.remove_prefix(n);
    }
    if (!data.empty())
        pieces.emplace_back(data);
    // A sequenced packet longer than one read of the reader would lose its tail, which a TCP stream never
    // does: such pieces go in parts of one read each.
    std::vector<std::string> parts;
    for (const std::string& piece : pieces)
        for (std::size_t from = 0; from < piece.size(); from += ReadSize)
            parts.push_back(piece.substr(from, ReadSize));
    return parts;
}

} // namespace

ReplyRun runReplyReader(std::string_view input)
{
    ReplyRun run;
    // A sequenced-packet pair keeps every piece apart: each read returns at most one piece.
    int fds[2];
    if (::socketpair(AF_UNIX, SOCK_SEQPACKET | SOCK_CLOEXEC, 0, fds) != 0)
        throw std::runtime_error(std::string("socketpair: ") + std::strerror(errno));
    ::fcntl(fds[1], F_SETFL, O_NONBLOCK);
    for (std::string& piece : cutIntoPieces(input)) {
        if (::send(fds[1], piece.data(), piece.size(), MSG_NOSIGNAL) != static_cast<ssize_t>(piece.size()))
            break; // the socket buffer is full: the rest is simply not sent
        run.pieces.push_back(std::move(piece));
    }
    ::close(fds[1]);
    run.result = ReadReply(fds[0], run.reply, 5000);
    ::close(fds[0]);
    return run;
}

std::string checkReplyRun(const ReplyRun& run)
{
    std::string sent;
    for (const std::string& piece : run.pieces)
        sent += piece;
    if (run.result < 0)
        return sent.size() > MaxReplySize ? std::string()
                                          : "a closed connection after the data gave an error";
    if (static_cast<std::size_t>(run.result) != run.reply.size())
        return "the result is not the length of the reply";
    if (run.reply.size() > MaxReplySize && !ReplyComplete(run.reply))
        return "an incomplete reply longer than the limit was taken";
    if (sent.compare(0, run.reply.size(), run.reply) != 0)
        return "the reply is not the data sent";
    if (run.reply.size() < sent.size() && !ReplyComplete(run.reply))
        return "reading stopped in the middle of a reply";
    std::size_t boundary = 0;
    for (const std::string& piece : run.pieces) {
        boundary += piece.size();
        if (boundary >= run.reply.size())
            break;
        if (ReplyComplete(std::string_view(sent).substr(0, boundary)))
            return "reading went past a complete reply";
    }
    return {};
}

} // namespace zolbin::fuzz
