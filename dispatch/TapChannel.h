// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The exchange of one TAP session: what is sent and what arrives, each shown and journaled readably.
//
// The terminal's answers are read line by line (up to CR), and every wait ends at its deadline however
// many bytes arrive. What a peer can make of the journal is bounded: a line longer than any the protocol
// knows is cut there, and the informational lines of one wait beyond a few are counted, not each written.
// An answer counts only for what it follows: whatever arrived before a send is read and journaled, but
// answers nothing. Once the terminal is awake, a send first waits for a moment of quiet on the line, so
// that the rest of a burst it was sending (an ACK behind the go-ahead on a slow line) is read before it.

#include "dispatch/Deadlines.h"
#include "dispatch/RetryPolicy.h"
#include "platform/Deadline.h"

#include <string>

namespace zolbin {

class SendHost;
class TapLink;

namespace tap {

// The longest answer line journaled whole; a longer one is cut there.
inline constexpr std::size_t MaxAnswerLine = 256;
// The informational lines of one wait that are shown and journaled; those beyond are counted.
inline constexpr int ShownNoticesPerWait = 16;

enum class Verdict
{
    Ack,
    Nak,
    Refused, // RS
    Ended,   // ESC EOT
    GoAhead, // ESC [p
    Silent,  // the deadline passed
    Gone     // the line broke (already reported)
};

class Channel
{
public:
    Channel(SendHost& host, TapLink& link) : host_(host), link_(link) {}

    // Sends the bytes and shows them as `shown`. What arrived before, and what keeps arriving until the
    // line is quiet, is read and journaled first; it answers nothing. False when nothing more may go out (a
    // failing journal before acceptance) or the bytes could not be sent (reported).
    bool send(const std::string& wire, const std::string& shown);
    // Reports a failure of the session ("Ошибка: " + text).
    void fail(const std::string& text, FailureKind kind = FailureKind::Final);

    // Waits for "ID=" anywhere in what arrives.
    bool waitForId(net::SteadyClock::time_point deadline);
    // Reads lines until one decides: informational lines are shown and passed over.
    Verdict verdict(net::SteadyClock::time_point deadline);

    // The deadlines of the session's waits (its host's).
    const TapDeadlines& deadlines() const;

    // The deciding line of the last verdict, readable.
    const std::string& lastLine() const { return lastLine_; }
    void pageAccepted() { accepted_ = true; }

private:
    // Reads and journals whatever has arrived and, once the terminal is awake, what arrives until the line
    // has been quiet for the settle time (at most a few such times).
    void passOverEarlyAnswers();
    // The next line (its CR taken off, cut at MaxAnswerLine); false when the wait ended first.
    bool nextLine(net::SteadyClock::time_point deadline, std::string& line);
    // Takes the next line out of what has arrived; false when no whole line is there yet.
    bool takeLine(std::string& line);
    bool fill(net::SteadyClock::time_point deadline);
    // Shows and journals an answer that decides nothing, within the wait's bound.
    void showNotice(const std::string& line);
    void showAnswer(const std::string& line);
    // Journals how many lines of the wait were passed over unshown.
    void closeWait();

    SendHost& host_;
    TapLink& link_;
    std::string buffer_;
    std::string lastLine_;
    bool skipping_ = false; // the rest of a cut line is being passed over
    bool cut_ = false;      // the line last taken was cut
    bool accepted_ = false;
    bool gone_ = false;
    bool awake_ = false; // "ID=" came
    int noticesShown_ = 0;
    int noticesUnshown_ = 0;
};

} // namespace tap
} // namespace zolbin
