// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The line exchange that the SNPP and SMTP dialogues share: one command line out, one reply in, each step
// shown in the status bar and written to the journal as the dialogue asks.
//
// Until the server has accepted the page, no line leaves while the journal is failing: SendLine gives -1
// at once, and the send command ends on the journal's failure with nothing more sent. Once the page is
// accepted (PageAccepted()), nothing that follows can undo it: the steps are still shown and journaled,
// but their failures only end the dialogue.
//
// Between the final step leaving (FinalStepSent()) and its answer the page's fate is the peer's: a reply
// that never comes, a closed connection or a reply that cannot be read means that nobody knows whether the
// page went, and it is never sent again by itself (FailureKind::Unknown).

#include "platform/Net.h"
#include "platform/Text.h"
#include "platform/Tls.h"

#include <string>
#include <string_view>

namespace zolbin {

class SendHost;

// The longest line that fits the send buffer together with its CR LF.
inline constexpr std::size_t MaxLineLength = 4094;

class DialogueChannel final
{
public:
    DialogueChannel(SendHost& host, int socket) : DialogueChannel(host, socket, nullptr) {}
    // Reads and writes through the TLS session once it is active.
    DialogueChannel(SendHost& host, int socket, net::TlsSession* tls);

    // Sends the line and CR LF. When shownText is not empty it is then shown and journaled (whatever the
    // send gave). A line holding CR, LF or NUL is never sent (invalid_argument), nor one longer than
    // MaxLineLength (message_size). A failure is reported ("Ошибка: " + text, journal line and an empty
    // line). Returns the number of bytes sent or -1.
    int SendLine(const std::string& line, const std::string& shownText);

    // Reads one reply and judges it by its first character: 4 or 5, or anything that is not a digit, is a
    // negative reply ("Ошибка: " + reply; unreachableMessage, when not empty, is shown in a message box);
    // other digits are positive ("Ответ: " + reply). A socket error, or the connection closed where a
    // reply was due (connection_reset), is reported with an empty journal line, and so is a reply longer than
    // MaxReplySize ("Ответ сервера слишком длинный"). Control characters of the reply other
    // than its CR LF line ends are shown and journaled as "\xHH". Returns 0 or -1.
    int ReadReply(const Text& unreachableMessage, int deadlineMs);
    // The same, giving the positive reply (CR LF included) in `reply`.
    int ReadReply(const Text& unreachableMessage, int deadlineMs, std::string& reply);
    // The same where only one reply will do: it must begin with `required` ("235", or "2" for any
    // completion); any other reply, of whatever class, is judged negative.
    int ReadReplyOf(std::string_view required, int deadlineMs);

    // A failure of the dialogue's own (not a reply, not a socket error): the beep, "Ошибка: " + text shown
    // and journaled, and the recipient's block closed with an empty line.
    void ReportFailure(const std::string& text);
    // A failed TLS handshake reported the same way (its text, or the text of its socket error).
    void ReportTlsFailure(const Failure& failure, std::error_code socketError);

    int Socket() const { return link_.socket; }
    // The deadlines of the connection's waits (its host's).
    const net::Deadlines& Deadlines() const;

    // The line that hands the page over (SNPP's SEND, the mail's final ".") has left: a reply lost from
    // here on leaves the page's outcome unknown.
    void FinalStepSent() { finalStepSent_ = true; }

    // The server has taken the page: from here on the recipient's block is closed by the outcome, not by
    // a failure, so a failure writes no empty line.
    void PageAccepted() { accepted_ = true; }

private:
    int ReadReply(const Text& unreachableMessage, int deadlineMs, std::string& reply,
                  std::string_view required);
    void reportSocketError(std::error_code error);
    // A read that gave no reply: the socket error, or a reply longer than any real server sends.
    void reportNoReply(std::error_code error);

    SendHost& host_;
    net::Link link_;
    bool accepted_ = false;
    bool finalStepSent_ = false;
};

// The status text without its last two characters (a reply's CR LF), as the journal keeps replies.
std::string WithoutLastTwo(const std::string& text);

// A reply judged negative: the beep, "Ошибка: " + the reply shown, the message box when one is given,
// and the journal line without the reply's CR LF.
void ReportNegativeReply(SendHost& host, const std::string& reply, const Text& unreachableMessage);

} // namespace zolbin
