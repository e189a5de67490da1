// SPDX-License-Identifier: GPL-3.0-or-later
#include "intake/SnppListener.h"

namespace zolbin {

namespace {

class SnppLineSession final : public LineSession
{
public:
    SnppLineSession(const PagerDirectory& directory, PageSink& sink, SnppClient client,
                    const SnppUsers* users)
        : session_(directory, sink, std::move(client), users)
    {
    }
    std::vector<std::string> greeting() override { return {session_.greeting()}; }
    std::vector<std::string> lineReceived(std::string_view line) override { return session_.feed(line); }
    bool finished() const override { return session_.finished(); }

private:
    SnppSession session_;
};

} // namespace

LineServerLimits SnppLimits()
{
    LineServerLimits limits;
    limits.maxLineLength = 1024;
    limits.maxConnections = 64;
    limits.idleMs = 300000;
    limits.busyLine = "421 Too Many Connections, Try Later";
    limits.tooLongLine = "421 Line Too Long, Goodbye";
    limits.idleLine = "421 Timeout, Goodbye";
    return limits;
}

std::unique_ptr<LineServer> MakeSnppListener(const PagerDirectory& directory, PageSink& sink,
                                             const SnppUsers* users, LineServerLimits limits)
{
    auto factory = [&directory, &sink, users](const PeerAddress& peer) -> std::unique_ptr<LineSession> {
        return std::make_unique<SnppLineSession>(directory, sink, SnppClient{peer.address, peer.loopback},
                                                 users);
    };
    return std::make_unique<LineServer>(std::move(factory), std::move(limits));
}

} // namespace zolbin
