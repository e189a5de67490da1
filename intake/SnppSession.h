// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The server's side of an SNPP dialogue (RFC 1861, levels 1 and 2) as pure logic: fed the client's lines,
// it gives the reply lines. PAGEr names a recipient through the caller's PagerDirectory, MESSage or DATA
// the text, SUBJect, HOLDuntil and LOGIn what goes with it; SEND hands the complete page to the caller's
// PageSink and accepts it only once the sink has stored it. Text arrives in cp1251 or UTF-8 (told apart
// by whether it is valid UTF-8) and is checked as the window checks it: not empty, within each recipient's
// limit (a line break counting two), the digital pager's characters; a refusal gives the reason.

#include "intake/PageSink.h"
#include "intake/PageText.h"
#include "intake/PagerDirectory.h"
#include "intake/SnppUsers.h"

#include <QDateTime>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace zolbin {

struct SnppClient
{
    std::string address;
    bool loopback = false; // a client of this machine pages without LOGIn
};

class SnppSession
{
public:
    // users: the SNPP users file; without it a client from another host cannot log in, so cannot page.
    SnppSession(const PagerDirectory& directory, PageSink& sink, SnppClient client,
                const SnppUsers* users = nullptr);

    std::string greeting() const;
    // One line from the client (no line end) -> the reply lines.
    std::vector<std::string> feed(std::string_view line);
    // After QUIT, or after a reply that ends the session (421).
    bool finished() const { return finished_; }

    static constexpr int MaxErrors = 10;                    // then "421 Too Many Errors"
    static constexpr std::size_t MaxText = MaxIncomingText; // bytes of one message however it comes
    static constexpr std::size_t MaxPagers = 100;           // recipients of one page

private:
    std::vector<std::string> command(std::string_view verb, std::string_view argument);
    std::optional<PagerTarget> target(std::string_view argument) const;
    std::string page(std::string_view argument);
    std::string message(std::string text);
    std::string dataLine(std::string_view line);
    std::string send();
    std::string login(std::string_view argument);
    std::string hold(std::string_view argument);
    std::string error(std::string reply);
    std::string refusal(const std::string& text, const PagerTarget& target) const;
    void reset();

    const PagerDirectory& directory_;
    PageSink& sink_;
    SnppClient client_;
    const SnppUsers* users_;

    IncomingPage page_;
    bool haveText_ = false;
    bool inData_ = false;
    std::string data_;
    int errors_ = 0;
    bool finished_ = false;
};

// The client's bytes as cp1251: valid UTF-8 with a byte above 0x7F is turned into cp1251, anything else is
// taken as cp1251. Nothing when the text is UTF-8 with a character cp1251 cannot hold.
std::optional<std::string> IncomingText(std::string_view bytes);

// "YYMMDDHHMMSS" with an optional "+/-HH[MM]" of the time zone (local time without it) -> UTC.
std::optional<QDateTime> SnppHoldTime(std::string_view argument);

} // namespace zolbin
