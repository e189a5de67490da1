// SPDX-License-Identifier: GPL-3.0-or-later
#include "dispatch/TapChannel.h"

#include "dispatch/SendHost.h"
#include "dispatch/TapLink.h"
#include "dispatch/TapProtocol.h"
#include "platform/Codepage.h"

#include <algorithm>
#include <array>
#include <chrono>
#include <optional>

namespace zolbin::tap {

namespace {

using net::MsLeft;
using net::SteadyClock;

// At most this much that arrived before a send is read then, within this many settle times; a peer that
// never stops is left to the next wait's deadline.
constexpr std::size_t MaxEarlyBytes = 64 * 1024;
constexpr int MaxSettles = 4;

// What a line decides, if anything.
std::optional<Verdict> judge(const std::string& line)
{
    if (line[0] == ACK)
        return Verdict::Ack;
    if (line[0] == NAK)
        return Verdict::Nak;
    if (line[0] == RS)
        return Verdict::Refused;
    if (line.rfind(std::string{ESC, EOT}, 0) == 0)
        return Verdict::Ended;
    if (line.rfind(std::string{ESC, '[', 'p'}, 0) == 0)
        return Verdict::GoAhead;
    if (line == "NO CARRIER") // the modem lost the terminal's carrier
        return Verdict::Gone;
    return std::nullopt;
}

} // namespace

bool Channel::send(const std::string& wire, const std::string& shown)
{
    if (!accepted_ && host_.Journal().Failure() != 0)
        return false; // nothing more goes out unjournaled
    passOverEarlyAnswers();
    const bool sent = link_.Send(wire);
    ReportStatus(host_, cp("Посылка: ") + shown);
    if (!sent)
        fail(link_.ErrorText(), FailureKind::Passing);
    return sent;
}

const TapDeadlines& Channel::deadlines() const
{
    return host_.Deadlines.tap;
}

void Channel::fail(const std::string& text, FailureKind kind)
{
    ReportError(host_, text, kind);
}

void Channel::passOverEarlyAnswers()
{
    const int quietMs = awake_ ? deadlines().settleMs : 0;
    const auto limit = SteadyClock::now() + std::chrono::milliseconds(MaxSettles * quietMs);
    std::string line;
    for (std::size_t read = 0; read < MaxEarlyBytes;) {
        while (takeLine(line))
            if (!line.empty())
                showNotice(line);
        std::array<char, 256> chunk{};
        const int wait = std::min(quietMs, MsLeft(limit));
        const int n = link_.Receive(chunk.data(), static_cast<int>(chunk.size()), wait);
        if (n <= 0)
            break; // a broken line is reported by the next wait
        buffer_.append(chunk.data(), static_cast<std::size_t>(n));
        read += static_cast<std::size_t>(n);
    }
    if (!buffer_.empty() && !skipping_) {
        cut_ = false;
        showNotice(buffer_);
    }
    buffer_.clear();
    skipping_ = false;
    closeWait();
}

bool Channel::waitForId(SteadyClock::time_point deadline)
{
    for (;;) {
        if (const std::size_t at = buffer_.find("ID="); at != std::string::npos) {
            buffer_.erase(0, at + 3);
            skipping_ = false;
            awake_ = true;
            ReportStatus(host_, cp("Ответ: ID="));
            return true;
        }
        if (buffer_.size() > 2) // what cannot be part of an "ID=" is passed over at once
            buffer_.erase(0, buffer_.size() - 2);
        if (!fill(deadline))
            return false;
    }
}

Verdict Channel::verdict(SteadyClock::time_point deadline)
{
    for (;;) {
        std::string line;
        if (!nextLine(deadline, line)) {
            closeWait();
            return gone_ ? Verdict::Gone : Verdict::Silent;
        }
        if (line.empty())
            continue;
        const std::optional<Verdict> decided = judge(line);
        if (!decided) {
            showNotice(line);
            continue;
        }
        closeWait();
        showAnswer(line);
        if (*decided == Verdict::Gone) {
            gone_ = true;
            fail(cp("Связь с терминалом TAP прервалась (NO CARRIER)"), FailureKind::Passing);
        }
        return *decided;
    }
}

bool Channel::nextLine(SteadyClock::time_point deadline, std::string& line)
{
    while (!takeLine(line)) {
        if (!fill(deadline))
            return false;
    }
    return true;
}

bool Channel::takeLine(std::string& line)
{
    for (;;) {
        const std::size_t end = buffer_.find(CR);
        if (skipping_) {
            if (end == std::string::npos) {
                buffer_.clear();
                return false;
            }
            buffer_.erase(0, end + 1);
            skipping_ = false;
            continue;
        }
        if (end == std::string::npos && buffer_.size() <= MaxAnswerLine)
            return false;
        cut_ = end == std::string::npos || end > MaxAnswerLine;
        line = buffer_.substr(0, std::min(end, MaxAnswerLine));
        if (end == std::string::npos) {
            buffer_.clear();
            skipping_ = true;
        } else {
            buffer_.erase(0, end + 1);
        }
        std::erase(line, '\n');
        return true;
    }
}

bool Channel::fill(SteadyClock::time_point deadline)
{
    const int left = MsLeft(deadline);
    if (left == 0)
        return false; // however much is still arriving
    std::array<char, 256> chunk{};
    const int n = link_.Receive(chunk.data(), static_cast<int>(chunk.size()), left);
    if (n > 0) {
        buffer_.append(chunk.data(), static_cast<std::size_t>(n));
        return true;
    }
    if (n < 0) {
        gone_ = true;
        fail(link_.ErrorText(), FailureKind::Passing);
    }
    return false;
}

void Channel::showNotice(const std::string& line)
{
    if (noticesShown_ < ShownNoticesPerWait) {
        ++noticesShown_;
        showAnswer(line);
    } else {
        ++noticesUnshown_;
    }
}

void Channel::showAnswer(const std::string& line)
{
    lastLine_ = Readable(line) + (cut_ ? cp("…") : std::string());
    ReportStatus(host_, cp("Ответ: ") + lastLine_);
}

void Channel::closeWait()
{
    if (noticesUnshown_ > 0)
        ReportStatus(host_, cp("Пропущено строк терминала: ") + std::to_string(noticesUnshown_));
    noticesShown_ = 0;
    noticesUnshown_ = 0;
}

} // namespace zolbin::tap
